// EnterPage on Windows: the steps' order is EnterPageSteps'; here are the
// store, the Setup.ini words and the page layer's hooks.
#include <windows.h>

#include "panel/Settings.h"
#include "panel/SettingsStore.h"
#include "panel/pages/EnterPageSteps.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/PadMotors.h"
#include "panel/pages/PageLayer.h"

namespace padpanel {

namespace {

class WindowsSide final : public EnterPageSide {
public:
    WindowsSide(HWND page, unsigned model) : page_(page), model_(model) {}

    void StopMotors() override { padpanel::StopMotors(); }
    void BeforeStore(int code) override { OnEnterPageBefore(page_, code); }
    DefaultAxisWords AxisWords() override { return ReadDefaultAxisWords(model_); }
    void Store(const pad::JoySettingRecord& record) override {
        // A fresh store per call; a failed write leaves the records in memory as they are.
        SettingsStore store(kSettingsBaseKey, model_, sizeof record);
        store.Write(&record, sizeof record);
    }
    void AfterStore(int code) override { OnEnterPageAfter(page_, code); }

private:
    HWND page_;
    unsigned model_;
};

}  // namespace

void EnterPage(HWND page, int code) {
    PageContext& context = Pages();
    // Until this sheet has loaded its record, there is no key to write to and
    // nothing of this sheet's to restore.
    if (!context.Loaded) return;
    WindowsSide side(page, context.JoystickNumber);
    RunEnterPage(code,
                 EnterPageState{context.Current, context.Saved, context.LeftRunMs, context.DraggingPower,
                                context.DraggingTime},
                 side);
}

}  // namespace padpanel
