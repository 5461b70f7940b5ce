#include "AtomicFile.h"
#include "Commands.h"

#include "resources/ChartTemplate.h"

namespace tools {

namespace {

int writeTemplate(const Arguments& arguments, std::ostream&)
{
    if (arguments.size() != 1)
        throw UsageError("template takes one argument: the file to write");
    const QByteArray bytes = resources::chartTemplate();
    writeFileAtomically(arguments[0], std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return 0;
}

}  // namespace

Command templateCommand()
{
    return {"template", "template OUT",
            "    Writes the built-in chart template (an Excel 97-2003 template with the sheet \"Assets\"\n"
            "    and its 3-D pie chart) to OUT, replacing OUT if it exists.\n",
            writeTemplate};
}

}  // namespace tools
