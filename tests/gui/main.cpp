// Runs the window tests offscreen inside one application object, as the program does.
#include "app/Startup.h"
#include "toolkit/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    SetUpApplication(application);
    return RUN_ALL_TESTS();
}
