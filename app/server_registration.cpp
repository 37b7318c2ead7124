#include "app/server_registration.h"

namespace zz {

namespace {
constexpr const char* kDispatchProxyStub = "{00020420-0000-0000-C000-000000000046}";
}

std::vector<RegistryEntry> ServerRegistryEntries(const ServerIdentity& identity) {
    if (!identity.IsComplete() || identity.programPath.empty()) {
        return {};
    }
    const std::string clsidKey = "CLSID\\" + identity.classId;
    const std::string interfaceKey = "Interface\\" + identity.interfaceId;
    // The path is quoted, so that a folder with spaces still names the program; COM adds its
    // own option after it.
    return {
        {identity.progId, identity.typeName},
        {identity.progId + "\\CLSID", identity.classId},
        {clsidKey, identity.typeName},
        {clsidKey + "\\ProgID", identity.progId},
        {clsidKey + "\\LocalServer32", "\"" + identity.programPath + "\" /Automation"},
        // Marshalled by the platform's standard dispatch proxy: no type library needed.
        {interfaceKey, "IZoomzapDocument"},
        {interfaceKey + "\\ProxyStubClsid32", kDispatchProxyStub},
    };
}

std::vector<std::string> ServerRegistryRoots(const ServerIdentity& identity) {
    if (!identity.IsComplete()) {
        return {};
    }
    return {identity.progId, "CLSID\\" + identity.classId, "Interface\\" + identity.interfaceId};
}

ServerIdentity IdentityFromDocumentStrings(const std::string& documentStrings) {
    std::vector<std::string> lines(1);
    for (char c : documentStrings) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    lines.resize(7);
    ServerIdentity identity;
    identity.progId = lines[5];
    identity.typeName = lines[6];
    return identity;
}

}  // namespace zz
