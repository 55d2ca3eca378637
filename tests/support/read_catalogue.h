#pragma once

#include <filesystem>
#include <memory>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_cache.h"
#include "encodings/ansi_code_page.h"

namespace sacotin::testing {

// liste.dat read the way the program reads it, through a CatalogueCache: the catalogue, or null
// when the file is missing, is no regular file or can't be read.
inline std::shared_ptr<const Catalogue> readCatalogue(
    const std::filesystem::path& path, std::shared_ptr<const AnsiCodePage> codePage) {
  return CatalogueCache(path, std::move(codePage)).current();
}

}  // namespace sacotin::testing
