#pragma once

#include "sheet/ods/XmlFeed.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sheet::ods {

// A style of a package as it was declared: its family, the style it inherits from, its data style and
// the attributes of its property elements by their local names ("background-color", "font-size",
// "pie-offset"), the last one declared winning.
struct DeclaredStyle {
    QString family;
    QString parent;
    QString dataStyle;
    std::map<QString, QString> properties;
};

// The styles of a package, read from styles.xml, from content.xml's automatic styles and from a chart
// object's parts: the styles of every family, the default style of each family and the data styles as
// number format codes.
class StyleSheet {
public:
    // The properties of a style with those of the styles it inherits from and of its family's default
    // style; an unknown style gives its family's defaults.
    std::map<QString, QString> resolved(const QString& family, const QString& name) const;
    const DeclaredStyle* find(const QString& family, const QString& name) const;
    // The number format code of a data style; nothing for an unknown one.
    std::optional<std::string> formatCode(const QString& name) const;
    // The data style of a style or of one it inherits from.
    QString dataStyleOf(const QString& family, const QString& name) const;

    void addStyle(const QString& name, DeclaredStyle style) { styles_[key(style.family, name)] = std::move(style); }
    void addDefault(DeclaredStyle style) { defaults_[style.family] = std::move(style); }
    void addDataStyle(const QString& name, std::string code) { dataStyles_[name] = std::move(code); }

private:
    static QString key(const QString& family, const QString& name) { return family + QLatin1Char('\n') + name; }

    std::map<QString, DeclaredStyle> styles_;
    std::map<QString, DeclaredStyle> defaults_;
    std::map<QString, std::string> dataStyles_;
};

// Collects the styles of a part into a StyleSheet. Feed it the tokens of office:styles and
// office:automatic-styles (it ignores what lies outside a style element); `active()` says whether it
// is inside one.
class StyleCollector : public XmlHandler {
public:
    explicit StyleCollector(StyleSheet& sheet) : sheet_(sheet) {}

    void start(const QXmlStreamReader& xml) override;
    void end(const QXmlStreamReader& xml) override;
    void text(QStringView text) override;
    bool active() const { return depth_ > 0; }
    // Turns the data styles read so far into format codes; call once the part has been read.
    void finish();

private:
    // One piece of a number format as a data style lists it.
    struct Piece {
        QString kind;   // the element's local name: "number", "text", "year", ...
        std::map<QString, QString> attributes;
        QString text;
    };
    struct DataStyle {
        QString kind;   // "number-style", "date-style", ...
        QString name;
        std::vector<Piece> pieces;
        std::vector<std::pair<QString, QString>> maps; // condition, style applied
        QString colour;
        bool overflow = true; // hours that go past a day
    };

    std::string sectionCode(const DataStyle& style) const;
    std::string formatOf(const DataStyle& style) const;

    StyleSheet& sheet_;
    int depth_ = 0;
    bool isDefault_ = false;
    QString name_;
    DeclaredStyle style_;
    std::optional<DataStyle> data_;
    std::map<QString, DataStyle> pending_; // data styles, joined by their maps once all are read
    bool inPieceText_ = false;
};

} // namespace sheet::ods
