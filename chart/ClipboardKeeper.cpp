#include "ClipboardKeeper.h"

namespace chart {

ClipboardKeeper::ClipboardKeeper(platform::Clipboard& clipboard) : clipboard_(clipboard), kept_(clipboard.snapshot())
{
}

ClipboardKeeper::~ClipboardKeeper()
{
    try {
        clipboard_.restore(std::move(kept_));
    } catch (...) {
        // A clipboard that cannot take its old content back keeps the picture.
    }
}

}  // namespace chart
