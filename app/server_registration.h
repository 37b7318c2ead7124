#pragma once
// The registry entries that let automation clients find and start the program.

#include <string>
#include <vector>

namespace zz {

// One default value of a key, below the classes root.
struct RegistryEntry {
    std::string key;
    std::string value;
};

struct ServerIdentity {
    std::string progId;       // "Zoomzap.Document"
    std::string typeName;     // "Zoomz Document"
    std::string classId;      // "{...}"
    std::string interfaceId;  // the document's dispatch interface, "{...}"
    std::string programPath;

    // Without a type and the identifiers the keys would be the classes root itself.
    bool IsComplete() const {
        return !progId.empty() && !classId.empty() && !interfaceId.empty() &&
               progId.find('\\') == std::string::npos;
    }
};

// Parents before children, so they can be written in order; none for an incomplete identity
// or without the program's path.
std::vector<RegistryEntry> ServerRegistryEntries(const ServerIdentity& identity);

// The keys to delete, with everything below them, to take the entries away again; none for an
// incomplete identity.
std::vector<std::string> ServerRegistryRoots(const ServerIdentity& identity);

// The registry file type and its name: the sixth and seventh lines of the document strings.
ServerIdentity IdentityFromDocumentStrings(const std::string& documentStrings);

}  // namespace zz
