// The main of a test executable whose folder has no tst_<folder>.cpp: the
// linker takes it from the library only when the executable has none.
#include "TestRegistry.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return TestRegistry::run(nullptr, argc, argv);
}
