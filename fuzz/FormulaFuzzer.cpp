// Reads any text as a formula in both grammars, stores its tokens as the file stores them, reads those
// back and writes them as text again. Text that makes no formula must end in a FormatError; anything
// else (another exception, a crash, a hang) is a finding, and so is a formula whose stored tokens
// cannot be read back and written.
#include "sheet/Errors.h"
#include "sheet/formula/FormulaParser.h"
#include "sheet/formula/FormulaRecords.h"
#include "sheet/formula/TokenReader.h"
#include "sheet/formula/TokenWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace sheet::formula;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (Grammar grammar : {Grammar::A1, Grammar::OpenFormula}) {
        FormulaContext context({"Sheet1", "My sheet", "2020"});
        context.addExternalBook("other.xlsx", {"Prices"});
        context.addName("Total", -1);
        context.sheet = 0;
        EncodedFormula encoded;
        try {
            encoded = encodeTokens(parseFormula(text, grammar, context));
            linkRecords(context.links);
        } catch (const sheet::FormatError&) {
            continue;
        }
        // What was stored must read back and write without a complaint.
        const std::vector<Token> tokens = readTokens(encoded.tokens, encoded.extra, {}, sheet::biff::RecordText{});
        if (formulaText(tokens, grammar, context.links, 0).empty())
            std::abort();
    }
    return 0;
}
