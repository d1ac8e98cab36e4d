#include "app/CConApp.h"

int main(int argc, char** argv) {
    return CConApp().Run(argc, argv);
}
