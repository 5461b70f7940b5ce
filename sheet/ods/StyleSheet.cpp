#include "sheet/ods/StyleSheet.h"

#include <algorithm>

namespace sheet::ods {
namespace {

const QStringView DataStyleKinds[] = {u"number-style", u"currency-style", u"percentage-style", u"date-style",
                                      u"time-style",   u"boolean-style",  u"text-style"};

bool isDataStyle(QStringView name)
{
    return std::find(std::begin(DataStyleKinds), std::end(DataStyleKinds), name) != std::end(DataStyleKinds);
}

// Text that a format code shows as it is: a few characters stand for themselves, others are quoted.
std::string literal(const QString& text)
{
    if (text.isEmpty())
        return {};
    const std::string utf8 = text.toStdString();
    if (utf8.size() == 1 && std::string_view("$-+/():!^&'~{}<>= ").find(utf8[0]) != std::string_view::npos)
        return utf8;
    if (!text.contains(QLatin1Char('"')))
        return "\"" + utf8 + "\"";
    std::string escaped;
    for (const char c : utf8)
        escaped += std::string("\\") + c;
    return escaped;
}

int count(const std::map<QString, QString>& attributes, const QString& name, int fallback)
{
    const auto found = attributes.find(name);
    if (found == attributes.end())
        return fallback;
    bool ok = false;
    const int value = found->second.toInt(&ok);
    return ok ? std::clamp(value, 0, 30) : fallback;
}

bool flag(const std::map<QString, QString>& attributes, const QString& name)
{
    const auto found = attributes.find(name);
    return found != attributes.end() && found->second == QLatin1String("true");
}

bool isLong(const std::map<QString, QString>& attributes)
{
    const auto found = attributes.find(QStringLiteral("style"));
    return found != attributes.end() && found->second == QLatin1String("long");
}

std::string digits(const std::map<QString, QString>& attributes)
{
    const int integers = count(attributes, QStringLiteral("min-integer-digits"), 1);
    const int decimals = count(attributes, QStringLiteral("decimal-places"), 0);
    const int minDecimals = std::min(decimals, count(attributes, QStringLiteral("min-decimal-places"), decimals));
    std::string code = integers == 0 ? "#" : std::string(static_cast<std::size_t>(integers), '0');
    if (flag(attributes, QStringLiteral("grouping")))
        code = integers <= 1 ? "#,##" + std::string(integers == 1 ? "0" : "#") : "#," + code;
    if (decimals > 0)
        code += "." + std::string(static_cast<std::size_t>(minDecimals), '0') + std::string(static_cast<std::size_t>(decimals - minDecimals), '#');
    const auto factor = attributes.find(QStringLiteral("display-factor"));
    if (factor != attributes.end()) {
        for (double scale = factor->second.toDouble(); scale >= 1000; scale /= 1000)
            code += ",";
    }
    return code;
}

const char* colourName(const QString& colour)
{
    const QString lower = colour.toLower();
    if (lower == QLatin1String("#ff0000")) return "[Red]";
    if (lower == QLatin1String("#0000ff")) return "[Blue]";
    if (lower == QLatin1String("#00ff00")) return "[Green]";
    if (lower == QLatin1String("#000000")) return "[Black]";
    if (lower == QLatin1String("#ffffff")) return "[White]";
    if (lower == QLatin1String("#ffff00")) return "[Yellow]";
    if (lower == QLatin1String("#ff00ff")) return "[Magenta]";
    if (lower == QLatin1String("#00ffff")) return "[Cyan]";
    return "";
}

} // namespace

const DeclaredStyle* StyleSheet::find(const QString& family, const QString& name) const
{
    const auto found = styles_.find(key(family, name));
    return found == styles_.end() ? nullptr : &found->second;
}

std::map<QString, QString> StyleSheet::resolved(const QString& family, const QString& name) const
{
    std::vector<const DeclaredStyle*> chain;
    QString at = name;
    while (!at.isEmpty() && chain.size() < 32) {
        const DeclaredStyle* style = find(family, at);
        if (!style || std::find(chain.begin(), chain.end(), style) != chain.end())
            break;
        chain.push_back(style);
        at = style->parent;
    }
    std::map<QString, QString> properties;
    if (const auto found = defaults_.find(family); found != defaults_.end())
        properties = found->second.properties;
    for (auto style = chain.rbegin(); style != chain.rend(); ++style)
        for (const auto& [property, value] : (*style)->properties)
            properties[property] = value;
    return properties;
}

QString StyleSheet::dataStyleOf(const QString& family, const QString& name) const
{
    QString at = name;
    for (int steps = 0; !at.isEmpty() && steps < 32; ++steps) {
        const DeclaredStyle* style = find(family, at);
        if (!style)
            break;
        if (!style->dataStyle.isEmpty())
            return style->dataStyle;
        at = style->parent;
    }
    return {};
}

std::optional<std::string> StyleSheet::formatCode(const QString& name) const
{
    const auto found = dataStyles_.find(name);
    if (found == dataStyles_.end())
        return std::nullopt;
    return found->second;
}

void StyleCollector::start(const QXmlStreamReader& xml)
{
    const QStringView name = xml.name();
    const QStringView uri = xml.namespaceUri();
    if (depth_ > 0) {
        ++depth_;
        if (data_) {
            if (uri == ns::Style && name == u"map") {
                data_->maps.emplace_back(attribute(xml, ns::Style, u"condition").toString(),
                                         attribute(xml, ns::Style, u"apply-style-name").toString());
            } else if (uri == ns::Style && name == u"text-properties") {
                data_->colour = attribute(xml, ns::Fo, u"color").toString();
            } else if (uri == ns::Number && depth_ == 2) {
                Piece piece;
                piece.kind = name.toString();
                for (const QXmlStreamAttribute& a : xml.attributes())
                    piece.attributes[a.name().toString()] = a.value().toString();
                data_->pieces.push_back(std::move(piece));
                inPieceText_ = true;
            }
            return;
        }
        if (name.endsWith(u"-properties")) {
            for (const QXmlStreamAttribute& a : xml.attributes())
                style_.properties[a.name().toString()] = a.value().toString();
        }
        return;
    }
    if (uri == ns::Style && (name == u"style" || name == u"default-style")) {
        depth_ = 1;
        isDefault_ = name == u"default-style";
        name_ = attribute(xml, ns::Style, u"name").toString();
        style_ = DeclaredStyle{};
        style_.family = attribute(xml, ns::Style, u"family").toString();
        style_.parent = attribute(xml, ns::Style, u"parent-style-name").toString();
        style_.dataStyle = attribute(xml, ns::Style, u"data-style-name").toString();
    } else if (uri == ns::Number && isDataStyle(name)) {
        depth_ = 1;
        data_ = DataStyle{};
        data_->kind = name.toString();
        data_->name = attribute(xml, ns::Style, u"name").toString();
        data_->overflow = attribute(xml, ns::Number, u"truncate-on-overflow") == u"false";
    }
}

void StyleCollector::end(const QXmlStreamReader&)
{
    if (depth_ == 0)
        return;
    inPieceText_ = false;
    if (--depth_ > 0)
        return;
    if (data_) {
        pending_[data_->name] = std::move(*data_);
        data_.reset();
    } else if (isDefault_) {
        sheet_.addDefault(std::move(style_));
    } else {
        sheet_.addStyle(name_, std::move(style_));
    }
}

void StyleCollector::text(QStringView text)
{
    if (data_ && inPieceText_ && !data_->pieces.empty())
        data_->pieces.back().text += text;
}

std::string StyleCollector::sectionCode(const DataStyle& style) const
{
    std::string code = colourName(style.colour);
    // A number of no stated decimal places is how OpenDocument writes the General format.
    if (style.pieces.size() == 1 && style.pieces.front().kind == QLatin1String("number") &&
        !style.pieces.front().attributes.count(QStringLiteral("decimal-places")) &&
        !flag(style.pieces.front().attributes, QStringLiteral("grouping")))
        return code + "General";
    const bool time = style.kind == QLatin1String("time-style");
    for (const Piece& piece : style.pieces) {
        const QString& kind = piece.kind;
        const bool longForm = isLong(piece.attributes);
        if (kind == QLatin1String("number")) {
            code += digits(piece.attributes);
        } else if (kind == QLatin1String("scientific-number")) {
            code += digits(piece.attributes) + "E+"
                + std::string(static_cast<std::size_t>(std::max(1, count(piece.attributes, QStringLiteral("min-exponent-digits"), 2))), '0');
        } else if (kind == QLatin1String("fraction")) {
            if (piece.attributes.count(QStringLiteral("min-integer-digits")))
                code += "# ";
            code += std::string(static_cast<std::size_t>(std::max(1, count(piece.attributes, QStringLiteral("min-numerator-digits"), 1))), '?')
                + "/";
            const int denominator = count(piece.attributes, QStringLiteral("denominator-value"), 0);
            code += denominator > 0 ? std::to_string(denominator)
                                    : std::string(static_cast<std::size_t>(std::max(1, count(piece.attributes, QStringLiteral("min-denominator-digits"), 1))), '?');
        } else if (kind == QLatin1String("text")) {
            code += literal(piece.text);
        } else if (kind == QLatin1String("fill-character")) {
            code += "*" + (piece.text.isEmpty() ? std::string(" ") : piece.text.left(1).toStdString());
        } else if (kind == QLatin1String("currency-symbol")) {
            code += piece.text == QLatin1String("$") ? std::string("$") : "[$" + piece.text.toStdString() + "]";
        } else if (kind == QLatin1String("text-content")) {
            code += "@";
        } else if (kind == QLatin1String("year")) {
            code += longForm ? "yyyy" : "yy";
        } else if (kind == QLatin1String("month")) {
            code += flag(piece.attributes, QStringLiteral("textual")) ? (longForm ? "mmmm" : "mmm") : (longForm ? "mm" : "m");
        } else if (kind == QLatin1String("day")) {
            code += longForm ? "dd" : "d";
        } else if (kind == QLatin1String("day-of-week")) {
            code += longForm ? "dddd" : "ddd";
        } else if (kind == QLatin1String("hours")) {
            const std::string hours = longForm ? "hh" : "h";
            code += time && style.overflow ? "[" + hours + "]" : hours;
        } else if (kind == QLatin1String("minutes")) {
            code += longForm ? "mm" : "m";
        } else if (kind == QLatin1String("seconds")) {
            code += longForm ? "ss" : "s";
            const int decimals = count(piece.attributes, QStringLiteral("decimal-places"), 0);
            if (decimals > 0)
                code += "." + std::string(static_cast<std::size_t>(decimals), '0');
        } else if (kind == QLatin1String("am-pm")) {
            code += "AM/PM";
        } else if (kind == QLatin1String("boolean")) {
            return "\"TRUE\";\"TRUE\";\"FALSE\"";
        }
    }
    return code.empty() ? std::string("General") : code;
}

std::string StyleCollector::formatOf(const DataStyle& style) const
{
    const std::string own = sectionCode(style);
    if (style.maps.empty())
        return own;
    std::string positive, negative, zero, others;
    for (const auto& [condition, applied] : style.maps) {
        const auto found = pending_.find(applied);
        if (found == pending_.end())
            continue;
        const std::string section = sectionCode(found->second);
        QString test = condition;
        test.remove(QStringLiteral("value()")).remove(QLatin1Char(' '));
        if (test == QLatin1String(">0") || test == QLatin1String(">=0"))
            positive = section;
        else if (test == QLatin1String("<0"))
            negative = section;
        else if (test == QLatin1String("=0"))
            zero = section;
        else
            others += "[" + test.toStdString() + "]" + section + ";";
    }
    if (!others.empty())
        return others + own;
    const bool text = style.kind == QLatin1String("text-style");
    for (std::string* slot : {&positive, &negative, &zero}) {
        if (!text && slot->empty()) {
            *slot = own;
            break;
        }
    }
    std::string code = positive.empty() ? std::string("General") : positive;
    if (!negative.empty() || !zero.empty() || text)
        code += ";" + (negative.empty() ? code : negative);
    if (!zero.empty() || text)
        code += ";" + (zero.empty() ? positive : zero);
    if (text)
        code += ";" + own;
    return code;
}

void StyleCollector::finish()
{
    for (const auto& [name, style] : pending_)
        sheet_.addDataStyle(name, formatOf(style));
}

} // namespace sheet::ods
