#pragma once

#include "sheet/zip/ZipReader.h"

#include <map>
#include <string>
#include <vector>

namespace sheet::xlsx {

// A relationship of a part: its id, its type by the last word of the type's URI ("worksheet", "chart"),
// so that the transitional and the strict URIs read alike, and its target as a part name of the package
// (no leading slash), or as written when it lies outside the package.
struct PackageRelationship {
    std::string id;
    std::string type;
    std::string target;
    bool external = false;
};

// The relationships part of a part: "xl/_rels/workbook.xml.rels" for "xl/workbook.xml", "_rels/.rels" for "".
std::string relationshipsPartOf(const std::string& part);
// A relationship's target taken from the folder of `source`, with "." and ".." resolved.
std::string resolvedTarget(const std::string& source, const std::string& target);

// The relationships of `part` ("" for the package's own); none when it has no relationships part.
std::vector<PackageRelationship> readRelationships(const zip::ZipReader& package, const std::string& part);

// The first relationship of a type, nullptr when there is none.
const PackageRelationship* relationshipOfType(const std::vector<PackageRelationship>& relationships,
                                              const std::string& type);
const PackageRelationship* relationshipWithId(const std::vector<PackageRelationship>& relationships,
                                              const std::string& id);

// [Content_Types].xml: the content type of each part, by its name or its extension.
struct ContentTypes {
    std::map<std::string, std::string> defaults;  // extension (lower case) -> type
    std::map<std::string, std::string> overrides; // part name (lower case, no leading slash) -> type

    std::string of(const std::string& part) const;
};

ContentTypes readContentTypes(const zip::ZipReader& package);

} // namespace sheet::xlsx
