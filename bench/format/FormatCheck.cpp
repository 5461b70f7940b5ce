// Twelve million values through the number formats a listing meets, with a digest of every result
// (its pieces, their kinds and its colour) for each format, and the numbers' shortest forms as the
// listing writes them (where they are not std::to_chars's, it says how often); where the text that NumberFormat::appendText gives is not the formatted
// text's, it says how often. A change that makes formatting faster must leave every digest as it was:
//     build/bench/format/format_check
// prints them; bench/speed/README.md keeps the ones to compare with.
#include "sheet/format/DecimalDigits.h"
#include "sheet/format/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using sheet::format::FormattedText;
using sheet::format::NumberFormat;
using sheet::format::Piece;

class Digest {
public:
    void add(std::string_view bytes)
    {
        for (unsigned char c : bytes)
            hash_ = (hash_ ^ c) * 0x100000001b3ULL;
        hash_ = (hash_ ^ 0xFF) * 0x100000001b3ULL;
    }
    void add(const FormattedText& text)
    {
        for (const Piece& piece : text.pieces) {
            const char kind = static_cast<char>('0' + static_cast<int>(piece.kind));
            add(std::string_view(&kind, 1));
            add(piece.text);
        }
        add(text.colourIndex ? std::to_string(*text.colourIndex) : std::string("-"));
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// Values of every kind a sheet holds: whole numbers, quarters, cents and values just beside the
// halves that rounding turns on, small and large magnitudes and random bit patterns, both signs.
double valueNumber(std::mt19937_64& random, std::size_t index)
{
    const double sign = index % 7 == 3 ? -1.0 : 1.0;
    switch (index % 8) {
    case 0: return sign * static_cast<double>(random() % 10'000'000);
    case 1: return sign * static_cast<double>(random() % 4'000'000) / 4;
    case 2: return sign * static_cast<double>(random() % 100'000'000) / 100;
    case 3: return sign * (static_cast<double>(random() % 100'000) + 0.5) / 1000;
    case 4: return sign * std::ldexp(static_cast<double>(random() % (1ULL << 52)), -static_cast<int>(random() % 90));
    case 5: return sign * std::pow(10.0, static_cast<double>(random() % 3200) / 100 - 16);
    case 6: return sign * static_cast<double>(random() % 2'958'465) / (1 + random() % 1440);
    default: {
        double any;
        const std::uint64_t bits = random();
        std::memcpy(&any, &bits, sizeof any);
        return std::isfinite(any) ? any : 1e308;
    }
    }
}

}  // namespace

int main()
{
    constexpr std::size_t Values = 12'000'000;
    const std::vector<const char*> codes = {
        "General", "0", "0.00", "#,##0.00", "0.00E+00", "##0.0E+0", "0%", "0.00%", "# ?/?", R"(# ??/100)",
        R"(_($* #,##0_);_($* (#,##0);_($* "-"??_);_(@_))", "[Red][<0]0.0;[Blue]0.00", "#,##0,\"K\"", "yyyy-mm-dd hh:mm:ss",
        "[h]:mm:ss.00", "@", "0.0;-0.0;\"zero\";\"text: \"@",
    };
    std::mt19937_64 random(20261207);
    std::vector<double> values(Values);
    for (std::size_t i = 0; i < Values; ++i)
        values[i] = valueNumber(random, i);

    // The listing's raw number: the shortest form that reads back.
    Digest raw;
    std::size_t differingShortest = 0;
    for (double value : values) {
        char buffer[32];
        const char* end = sheet::format::shortestText(buffer, buffer + sizeof buffer, value).ptr;
        raw.add(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
        char standard[32];
        differingShortest += std::string_view(buffer, static_cast<std::size_t>(end - buffer)) !=
                             std::string_view(standard, static_cast<std::size_t>(
                                                  std::to_chars(standard, standard + 32, value).ptr - standard));
    }
    std::printf("%016llx  shortest forms of %zu values%s\n", static_cast<unsigned long long>(raw.value()), Values,
                differingShortest ? ("  (std::to_chars differs " + std::to_string(differingShortest) + " times)").c_str()
                                  : "");

    // All twelve million through General and narrow General; a share of them through each other code.
    for (std::size_t c = 0; c < codes.size(); ++c) {
        const NumberFormat format(codes[c]);
        const std::size_t step = c == 0 ? 1 : 9;
        Digest digest;
        std::size_t differing = 0;
        std::string line;
        for (std::size_t i = c % step; i < Values; i += step) {
            const int characters = c == 0 && i % 5 == 0 ? 6 : 11;
            try {
                const FormattedText text = format.format(values[i], characters);
                digest.add(text);
                line.clear();
                format.appendText(line, values[i], characters);
                differing += line != text.text();
            } catch (const std::exception&) {
                digest.add("refused");
            }
        }
        const std::string_view text = "a text\twith a tab";
        digest.add(format.format(text));
        line.clear();
        format.appendText(line, text);
        differing += line != format.format(text).text();
        std::printf("%016llx  %s%s\n", static_cast<unsigned long long>(digest.value()), codes[c],
                    differing ? ("  (appendText differs " + std::to_string(differing) + " times)").c_str() : "");
    }
    return 0;
}
