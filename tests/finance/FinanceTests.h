#pragma once

#include <QObject>
#include <functional>

// The test classes of the finance folder register themselves here, one
// FINANCE_TEST(Class) each; tst_finance runs them all in turn.
int registerFinanceTest(const std::function<QObject *()> &make);

#define FINANCE_TEST(Class) \
    static const int Class##Registered = registerFinanceTest([] { return new Class; });
