#include "app/CConApp.h"
#include "platform/StackRoom.h"

int main(int argc, char** argv) {
    return RunWithStackRoom(kStackNeeded, [&] { return CConApp().Run(argc, argv); });
}
