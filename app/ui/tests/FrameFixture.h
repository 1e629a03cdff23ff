// FrameFixture: a main frame with scripted prompt and file dialogs, on a virtual panel.
#pragma once

#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

#include "UiTestKit.h"
#include "panel_link/UsbBackendChoice.h"
#include "ui/CFileCommands.h"
#include "ui/CMainFrame.h"

class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override {
        if (m_frame) m_frame->hide();
        m_frame.reset();
        QSettings().clear();
    }
    // The frame on a virtual panel with `options` ("?mode=update") and `fault` (CAIRN_PANEL_FAULT).
    CMainFrame& frame(const QString& options = QString(), const QString& fault = QString()) {
        if (!m_frame) {
            m_panel = std::make_unique<VirtualPanel>(options, fault);
            std::string problem;
            std::shared_ptr<CUsbBackend> bus = usbBackendFromEnvironment(problem);
            EXPECT_EQ(problem, "");
            m_frame = std::make_unique<CMainFrame>(CFrameServices{prompt, files, bus, nullptr, nullptr});
            m_frame->show();
        }
        return *m_frame;
    }
    CMainFrame& frameWithSample() {
        CMainFrame& f = frame();
        EXPECT_TRUE(f.fileCommands().openFile(sampleFacility()));
        return f;
    }

    ScriptedUiPrompt prompt;
    ScriptedFiles files;
    std::unique_ptr<VirtualPanel> m_panel;
    std::unique_ptr<CMainFrame> m_frame;
};
