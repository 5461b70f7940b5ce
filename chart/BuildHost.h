#pragma once

#include "platform/Picture.h"

#include <QString>

namespace common {
class PointerState;
}

namespace chart {

// What a chart build asks of the main window that starts it.
class BuildHost {
public:
    virtual ~BuildHost() = default;

    // The main window's pointer: busy while the build works.
    virtual common::PointerState& pointer() = 0;

    // The entry list's rows, by position from 1, exactly as they stand in the list.
    virtual int entryCount() = 0;
    virtual QString entryLabel(int position) = 0;
    virtual QString entryAmount(int position) = 0;
    // The locale the amounts were typed in ("de_DE"), stored beside the list; empty when unknown.
    virtual QString amountLocale() = 0;

    // Makes the picture the preview window's picture, loading that window the first time.
    virtual void deliverPicture(const platform::Picture& picture) = 0;
    // Hands the preview window the scratch workbook, which it saves from and deletes.
    virtual void setPreviewWorkbook(const QString& path) = 0;
    // Shows the preview window, modeless.
    virtual void showPreview() = 0;
    virtual void hideMainWindow() = 0;
};

}  // namespace chart
