// The material store in one SQLite file (write-ahead log, so that readers and
// one writer at a time never block each other; writers wait for each other).
#pragma once

#include "MaterialStore.h"

#include <memory>
#include <string>

namespace vek_db
{
struct CatalogueGroup;

enum class StoreOpenMode
{
    OpenOrCreate, // create (with the catalogue) only when the file does not exist
    CreateNew,    // the file must not exist
};

// Version of the file's layout (PRAGMA user_version). A file of a higher
// version is refused and left alone.
constexpr int kMaterialSchemaVersion = 1;

// Opens the store at strPath. A file that is created gets the schema and,
// with bSeed, the catalogue, in one transaction. An existing empty file is
// treated as a new one. Null, with one sentence in strError, when the file
// cannot be opened or created, is no SQLite database or not ours, is damaged,
// or has a newer layout; an existing file is then left as it was.
std::unique_ptr<IMaterialStore> OpenSqliteMaterialStore(const std::string& strPath,
                                                        StoreOpenMode eMode, bool bSeed,
                                                        std::string& strError);
} // namespace vek_db
