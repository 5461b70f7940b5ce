#include "sheet/xlsx/PackageRelations.h"

#include "sheet/xlsx/XmlStream.h"

#include <algorithm>
#include <cctype>

namespace sheet::xlsx {
namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string withoutSlash(std::string name)
{
    return !name.empty() && name.front() == '/' ? name.substr(1) : name;
}

// %20 and the like, as part names are written in relationship targets.
std::string unescaped(const std::string& text)
{
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '%' && k + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[k + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[k + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(k + 1, 2), nullptr, 16));
            k += 2;
        } else {
            out += text[k];
        }
    }
    return out;
}

} // namespace

std::string relationshipsPartOf(const std::string& part)
{
    const std::size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

std::string resolvedTarget(const std::string& source, const std::string& target)
{
    const std::string plain = unescaped(target);
    std::string path;
    if (!plain.empty() && plain.front() == '/') {
        path = plain.substr(1);
    } else {
        const std::size_t slash = source.rfind('/');
        path = (slash == std::string::npos ? std::string() : source.substr(0, slash + 1)) + plain;
    }
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const std::string& segment : segments)
        resolved += (resolved.empty() ? "" : "/") + segment;
    return resolved;
}

std::vector<PackageRelationship> readRelationships(const zip::ZipReader& package, const std::string& part)
{
    std::vector<PackageRelationship> relationships;
    const std::string name = part.empty() ? std::string("_rels/.rels") : relationshipsPartOf(part);
    if (!package.contains(name))
        return relationships;
    readXmlPart(package, package.spelling(name), [&](const QXmlStreamReader& reader) {
        if (!reader.isStartElement() || reader.name() != u"Relationship")
            return;
        PackageRelationship relationship;
        relationship.id = attributeText(reader, u"Id");
        const std::string type = attributeText(reader, u"Type");
        relationship.type = type.substr(type.rfind('/') + 1);
        relationship.external = attributeOf(reader, u"TargetMode") == u"External";
        const std::string target = attributeText(reader, u"Target");
        relationship.target = relationship.external ? target : resolvedTarget(part, target);
        relationships.push_back(std::move(relationship));
    });
    return relationships;
}

const PackageRelationship* relationshipOfType(const std::vector<PackageRelationship>& relationships,
                                              const std::string& type)
{
    for (const PackageRelationship& relationship : relationships)
        if (relationship.type == type && !relationship.external)
            return &relationship;
    return nullptr;
}

const PackageRelationship* relationshipWithId(const std::vector<PackageRelationship>& relationships,
                                              const std::string& id)
{
    for (const PackageRelationship& relationship : relationships)
        if (relationship.id == id && !relationship.external)
            return &relationship;
    return nullptr;
}

std::string ContentTypes::of(const std::string& part) const
{
    const std::string name = lowered(withoutSlash(part));
    if (const auto found = overrides.find(name); found != overrides.end())
        return found->second;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        if (const auto found = defaults.find(name.substr(dot + 1)); found != defaults.end())
            return found->second;
    return {};
}

ContentTypes readContentTypes(const zip::ZipReader& package)
{
    ContentTypes types;
    if (!package.contains("[Content_Types].xml"))
        return types;
    readXmlPart(package, package.spelling("[Content_Types].xml"), [&](const QXmlStreamReader& reader) {
        if (!reader.isStartElement())
            return;
        const std::string type = attributeText(reader, u"ContentType");
        if (reader.name() == u"Default")
            types.defaults[lowered(attributeText(reader, u"Extension"))] = type;
        else if (reader.name() == u"Override")
            types.overrides[lowered(withoutSlash(attributeText(reader, u"PartName")))] = type;
    });
    return types;
}

} // namespace sheet::xlsx
