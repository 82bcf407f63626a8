// Opening the options dialog: the order around it, and the check timer coming back whatever fails.
#include "widget/config/options_opening.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace nimbo {
namespace {

struct Recorder {
    std::vector<std::string> log;
    OptionsOutcome outcome;
    bool autoUpdate = true;
    bool saveThrows = false;
    bool dialogThrows = false;

    OptionsOpening Form() {
        OptionsOpening form;
        form.setCheckTimerEnabled = [this](bool on) { log.push_back(on ? "timer on" : "timer off"); };
        form.autoUpdate = [this] { return autoUpdate; };
        form.saveWidgetSettings = [this] {
            log.push_back("save");
            if (saveThrows) throw std::runtime_error("Unable to write to .\\Options.ini");
        };
        form.runDialog = [this] {
            log.push_back("dialog");
            if (dialogThrows) throw std::runtime_error("no dialog");
            return outcome;
        };
        form.loadWidgetSettings = [this] {
            log.push_back("load");
            autoUpdate = false;
        };
        form.startWeatherDownload = [this] { log.push_back("download"); };
        form.composeFace = [this] { log.push_back("compose"); };
        form.rebuildInfoText = [this] { log.push_back("info text"); };
        form.applyInfoWindow = [this] { log.push_back("info window"); };
        return form;
    }
};

TEST(OptionsOpening, OrderAfterOkAndCancel) {
    struct Case {
        OptionsOutcome outcome;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{false, false}, {"timer off", "save", "dialog", "compose", "timer on"}},
        {{false, true}, {"timer off", "save", "dialog", "compose", "timer on"}},
        // The reloaded settings decide the timer: the dialog switched automatic refresh off.
        {{true, true}, {"timer off", "save", "dialog", "load", "download", "info text", "info window", "timer off"}},
        {{true, false}, {"timer off", "save", "dialog", "load", "compose", "info text", "info window", "timer off"}},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        recorder.outcome = c.outcome;
        OpenOptions(recorder.Form());
        EXPECT_EQ(recorder.log, c.expected);
    }
}

TEST(OptionsOpening, TheTimerComesBackWhenASaveIsRefused) {
    for (const bool saveThrows : {true, false}) {
        Recorder recorder;
        recorder.saveThrows = saveThrows;
        recorder.dialogThrows = !saveThrows;
        EXPECT_THROW(OpenOptions(recorder.Form()), std::runtime_error);
        ASSERT_FALSE(recorder.log.empty());
        EXPECT_EQ(recorder.log.back(), "timer on");
    }
}

}  // namespace
}  // namespace nimbo
