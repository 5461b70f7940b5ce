#pragma once

#include "preview/Form2.h"
#include "support/Controls.h"
#include "support/ScriptedPlatform.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace preview_testing {

// A preview window on a scripted platform, with a private program folder and records of the
// main window being shown and of the program being ended.
class PreviewFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    preview::Form2& form()
    {
        if (!form_)
            form_ = std::make_unique<preview::Form2>(
                system.platform(), [this] { ++mainWindowShown; }, [this] { ++programEnded; }, nullptr, folder.path());
        return *form_;
    }

    QString path(const QString& name) const { return folder.path() + QStringLiteral("/") + name; }

    QTemporaryDir folder;
    testing_support::ScriptedPlatform system;
    int mainWindowShown = 0;
    int programEnded = 0;

private:
    std::unique_ptr<preview::Form2> form_;
};

}  // namespace preview_testing
