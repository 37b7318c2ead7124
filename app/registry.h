#pragma once
// Registry keys and string values below a given root, in UTF-8 names and values.

#include <windows.h>

#include <string>
#include <vector>

#include "app/server_registration.h"
#include "framework/handles.h"

namespace zz {

// Opens root\path, creating what is missing; empty on failure.
RegistryKey CreateRegistryKey(HKEY root, const std::string& path);
// Opens root\path for reading; empty when it does not exist.
RegistryKey OpenRegistryKey(HKEY root, const std::string& path);

// valueName empty is the key's default value.
bool WriteRegistryString(HKEY key, const std::string& valueName, const std::string& value);
// Empty when the value is missing or not a string.
std::string ReadRegistryString(HKEY key, const std::string& valueName);
// A missing value counts as deleted.
bool DeleteRegistryValue(HKEY key, const std::string& valueName);
// The key with everything below it; a missing key counts as deleted.
bool DeleteRegistryTree(HKEY root, const std::string& path);

// Writes the automation entries below classesRoot; false when any could not be written.
bool RegisterServer(HKEY classesRoot, const ServerIdentity& identity);
// Removes them again; false when any is still there.
bool UnregisterServer(HKEY classesRoot, const ServerIdentity& identity);

}  // namespace zz
