#include "EntryCommands.h"

#include "EntryListText.h"
#include "NumericTest.h"
#include "SampleSet.h"

#include "common/Handler.h"

#include <QLocale>

namespace entries {

namespace {
common::Handler handler(platform::Platform& platform, const char* name)
{
    return common::Handler(platform.messages, QStringLiteral("Torvane2021/08/31.Form1.") + QLatin1String(name));
}
}  // namespace

EntryCommands::EntryCommands(EntryList& list, const common::PointerState& pointer, platform::Platform platform)
    : list_(list), pointer_(pointer), platform_(platform), history_(list)
{
}

void EntryCommands::PushButton2_Click() { history_.record(QStringLiteral("Add"), [this] { addNew(); }); }

void EntryCommands::PushButton3_Click() { history_.record(QStringLiteral("Delete"), [this] { deleteSelected(); }); }

void EntryCommands::PushButton4_Click() { history_.record(QStringLiteral("Edit"), [this] { editSelected(); }); }

void EntryCommands::PushButton5_Click() { history_.record(QStringLiteral("Clear List"), [this] { clearList(); }); }

void EntryCommands::PushButton7_Click() { history_.record(QStringLiteral("Load Sample"), [this] { loadSample(); }); }

bool EntryCommands::usableLabel(const QString& label)
{
    return !label.isEmpty() && StoresIntact({label, QStringLiteral("0")});
}

bool EntryCommands::usableAmount(const QString& label, const QString& amount)
{
    return IsNumeric(amount) && StoresIntact({label, amount});
}

void EntryCommands::addNew()
{
    auto h = handler(platform_, "PushButton2_Click");
    QString label;
    QString amount;
    h(100, [&] {
        label = platform_.inputs.ask(QStringLiteral("Enter Asset Type:"), QStringLiteral("Input Asset Type"), QString());
    });
    if (h.when(102, [&] { return !usableLabel(label); }))
        return;
    h(104, [&] {
        amount = platform_.inputs.ask(QStringLiteral("Enter Amount:"), QStringLiteral("Input Amount"), QString());
    });
    if (h.when(106, [&] { return !usableAmount(label, amount); }))
        return;
    h(108, [&] {
        list_.AppendEntry(label, amount);
        list_.setAmountLocale(QLocale().name());
    });
    // The new row is selected and in view, so that the person sees it arrive.
    if (list_.count() > 0)
        list_.select(list_.count());
}

void EntryCommands::deleteSelected()
{
    auto h = handler(platform_, "PushButton3_Click");
    if (h.when(100, [&] { return list_.count() == 0; }))
        return;
    h(102, [&] { list_.remove(list_.selectedRow()); });
}

void EntryCommands::editSelected()
{
    auto h = handler(platform_, "PushButton4_Click");
    if (h.when(100, [&] { return list_.count() == 0; }))
        return;
    QString label;
    QString amount;
    h(102, [&] {
        label = platform_.inputs.ask(QStringLiteral("Enter New Asset Type:"), QStringLiteral("Input New Asset Type"),
                                     list_.label(list_.selectedRow()));
    });
    if (h.when(104, [&] { return !usableLabel(label); }))
        return;
    h(106, [&] {
        amount = platform_.inputs.ask(QStringLiteral("Enter New Amount:"), QStringLiteral("Input New Amount"),
                                      list_.amount(list_.selectedRow()));
    });
    if (h.when(108, [&] { return !usableAmount(label, amount); }))
        return;
    h(110, [&] { list_.setLabel(list_.selectedRow(), label); });
    h(112, [&] {
        list_.setAmount(list_.selectedRow(), amount);
        list_.setAmountLocale(QLocale().name());
    });
}

void EntryCommands::clearList()
{
    auto h = handler(platform_, "PushButton5_Click");
    if (h.when(100, [&] { return pointer_.busy(); }))
        return;
    h(102, [&] { list_.clear(); });
}

void EntryCommands::PushButton6_Click()
{
    auto h = handler(platform_, "PushButton6_Click");
    h(100, [&] {
        platform::MessageRequest request;
        request.text = QStringLiteral("Questions? Please contact Team Vantrel at https://www.vantrel.example/contact");
        platform_.messages.show(request);
    });
}

void EntryCommands::loadSample()
{
    auto h = handler(platform_, "PushButton7_Click");
    if (h.when(100, [&] { return !pointer_.busy(); }))
        h(102, [&] { list_.clear(); });
    int line = 104;
    for (const Entry& entry : SampleSet()) {
        h(line, [&] { list_.AppendEntry(entry.label, entry.amount); });
        line += 2;
    }
}

}  // namespace entries
