// Finance: every test class under finance/, run in turn in one executable.
#include "finance/FinanceTests.h"

#include <QApplication>
#include <QTest>
#include <memory>
#include <vector>

namespace {

std::vector<std::function<QObject *()>> &tests()
{
    static std::vector<std::function<QObject *()>> registered;
    return registered;
}

} // namespace

int registerFinanceTest(const std::function<QObject *()> &make)
{
    tests().push_back(make);
    return int(tests().size());
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    int failed = 0;
    for (const auto &make : tests()) {
        const std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
