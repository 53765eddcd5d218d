#pragma once
// Main window tests against a virtual sign: the sign runs (network only, storage "sign" in the
// test folder) and the desktop finds it through BRIGHTLINE_VIRTUAL_SIGN.
#include <memory>
#include <string>

#include "editor/ui/tests/frame_fixture.h"
#include "shell/ui/main_frame.h"
#include "signsim/sign_simulator.h"

namespace brightline::ui::testing {

class VirtualSignTest : public ProgramFilesTest {
  protected:
    VirtualSignTest() {
        signsim::SimulatorOptions options;
        options.storage = path("sign");
        options.serial = false;
        sign_ = std::make_unique<signsim::SignSimulator>(options);
        std::string error;
        EXPECT_TRUE(sign_->start(&error)) << error;
        const std::string endpoint = "127.0.0.1:" + std::to_string(sign_->commandPort()) + ":" +
                                     std::to_string(sign_->ftpPort());
        ::setenv("BRIGHTLINE_VIRTUAL_SIGN", endpoint.c_str(), 1);
    }
    ~VirtualSignTest() override {
        ::unsetenv("BRIGHTLINE_VIRTUAL_SIGN");
        sign_->stop();
    }
    // Uploads from `main` go on without the pause after preparing the sign.
    static void uploadWithoutPause(CMainFrame& main) {
        OperationEnvironment env = main.operations().environment();
        env.uploadPauseMs = 0;
        main.operations().setEnvironment(env);
    }
    std::unique_ptr<signsim::SignSimulator> sign_;
};

}  // namespace brightline::ui::testing
