#pragma once

#include <QApplication>
#include <QObject>
#include <QTest>
#include <functional>

// Test classes in the files under tests/<folder>/ register themselves and run
// in that folder's one executable, after the class of tst_<folder>.cpp (if
// there is one). That file ends in HUOYUN_TEST_MAIN(Class) instead of
// QTEST_MAIN; without it, the support library's own main runs the registered
// classes alone.
namespace TestRegistry {

bool add(const char *name, std::function<QObject *()> make);
// Runs `first` (may be null) and then every registered class; the number of
// failed classes.
int run(QObject *first, int argc, char **argv);

} // namespace TestRegistry

#define HUOYUN_REGISTER_TEST(Class)                                                     \
    namespace {                                                                          \
    const bool Class##Registered = TestRegistry::add(#Class, [] { return new Class; }); \
    }

#define HUOYUN_TEST_MAIN(Class)                                                          \
    int main(int argc, char **argv)                                                      \
    {                                                                                    \
        QApplication app(argc, argv);                                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                         \
        Class tc;                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                       \
        return TestRegistry::run(&tc, argc, argv);                                       \
    }
