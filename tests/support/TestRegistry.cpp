#include "TestRegistry.h"

#include <QList>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct Entry {
    const char *name;
    std::function<QObject *()> make;
};

struct Registry {
    QList<Entry> entries;
    bool ran = false;
    // A main that never ran the registered classes (a plain QTEST_MAIN) must
    // not pass as if they had passed.
    ~Registry()
    {
        if (!entries.isEmpty() && !ran) {
            std::fprintf(stderr, "Registered test classes were not run: end the folder's "
                                 "tst_ file with HUOYUN_TEST_MAIN(Class).\n");
            std::_Exit(1);
        }
    }
};

Registry &registry()
{
    static Registry r;
    return r;
}

} // namespace

bool TestRegistry::add(const char *name, std::function<QObject *()> make)
{
    registry().entries.append({name, std::move(make)});
    return true;
}

int TestRegistry::run(QObject *first, int argc, char **argv)
{
    registry().ran = true;
    int failed = 0;
    if (first)
        failed += QTest::qExec(first, argc, argv) != 0;
    for (const Entry &e : std::as_const(registry().entries)) {
        std::unique_ptr<QObject> test(e.make());
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed;
}
