// The whole sheet in the control-panel host, with the pad played through
// the DirectInput stand-in: what the sheet tests share.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PanelTestSupport.h"
#include "PixelRig.h"
#include "hosts/cplhost/SheetHost.h"
#include "tools/padstate/PadStateLink.h"

namespace paneltest {

inline constexpr char kPadTypeName[] = "VID_7A3C&PID_A02F";

class SheetRig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pad_.IsOpen());
        padstate::ResetBlock(pad_.Block());
        InstallStagedSetupIni();
        DeleteSettings();
    }
    void TearDown() override {
        host_.Close();
        DeleteSettings();
    }

    void Open() {
        std::string error;
        ASSERT_TRUE(host_.Open(kPadTypeName, 0, &error)) << error;
        host_.Pump(50);
    }
    void Show(int page) {
        ASSERT_TRUE(host_.SelectPage(page)) << "page " << page;
        host_.Pump(30);
    }
    // Pumps until the condition holds or `ms` have passed.
    template <class Condition>
    bool PumpUntil(Condition done, DWORD ms) {
        const DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start >= ms) return false;
            host_.Pump(10);
        }
        return true;
    }
    // A pixel of the current page as it is on the screen.
    COLORREF PagePixel(int x, int y) {
        Dib picture(500, 400);
        CaptureClient(host_.CurrentPage(), picture);
        return picture.At(x, y);
    }

    padstate::PadStateLink pad_;
    cplhost::SheetHost host_;
};

// main() of a sheet test program: unmanaged windows, the stand-in loaded,
// the staged panel registered, COM started.
int RunSheetTests(int argc, char** argv);

}  // namespace paneltest
