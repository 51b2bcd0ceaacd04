#pragma once

#include "platform/home.h"
#include "shell/app_context.h"
#include "shell/frm_main.h"
#include "testing/recording_progress.h"
#include "testing/scripted_dialogs.h"

#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

// A home in a temporary folder, scripted dialogs that fail the test on an unanswered question, recorded
// progress, and an AppContext on them that opens no browser, with its main window.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        dialogs.onUnexpected = [](const QString& what) { ADD_FAILURE() << what.toStdString(); };
    }

    void makeContext(const QString& portDevice = {})
    {
        context = std::make_unique<AppContext>(Home::under(dir.path()), &dialogs, &progress, portDevice);
        context->openUrl = [this](const QUrl& url) {
            openedUrls << url;
            return true;
        };
    }
    void makeMainWindow(const QString& portDevice = {})
    {
        makeContext(portDevice);
        window = std::make_unique<frmMain>(*context);
        context->mainWindow = window.get();
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    QList<QUrl> openedUrls;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<frmMain> window; // goes before its context
};
