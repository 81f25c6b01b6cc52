// Everything under a key of the current user's registry, to compare before
// and after: a key or value added, removed or changed anywhere shows.
#pragma once

#include <map>
#include <string>

#include "user_registry.h"

// Keys by path ("key\\sub\\"), values by path and name ("key\\sub\\:name";
// the default value's name is empty). Empty when the key is missing.
using RegistryTree = std::map<std::string, StoredValue>;
RegistryTree ReadRegistryTree(const std::string &key);
