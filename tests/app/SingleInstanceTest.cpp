// One running instance: a later start is refused and asks the first one to come forward.
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUuid>
#include <gtest/gtest.h>
#include <optional>

using namespace Qt::StringLiterals;

TEST(SingleInstance, SecondInstanceIsRefusedAndActivatesTheFirst) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const QString id = u"quillet_test_"_s + QUuid::createUuid().toString(QUuid::Id128);

    std::optional<CSingleInstance> first(std::in_place, id);
    ASSERT_TRUE(first->TryBecomeInstance());
    EXPECT_TRUE(first->IsInstance());
    int activations = 0;
    QObject::connect(&*first, &CSingleInstance::activationRequested, [&] { ++activations; });

    {
        CSingleInstance second(id);
        EXPECT_FALSE(second.TryBecomeInstance());
        EXPECT_FALSE(second.IsInstance());
    }
    QElapsedTimer waited;
    waited.start();
    while (activations == 0 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(activations, 1);

    // Once the first instance ends, a new start runs.
    first.reset();
    CSingleInstance third(id);
    EXPECT_TRUE(third.TryBecomeInstance());
}
