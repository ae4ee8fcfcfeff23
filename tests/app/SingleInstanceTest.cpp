// One running instance: a later start is refused and asks the first one to come forward and open
// its file.
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
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
    QStringList files;
    QObject::connect(&*first, &CSingleInstance::activationRequested,
                     [&](const QString& file) { files << file; });

    {
        CSingleInstance second(id);
        EXPECT_FALSE(second.TryBecomeInstance());
        EXPECT_FALSE(second.IsInstance());
        // A later start hands its file over, made absolute, whatever characters it holds.
        CSingleInstance third(id);
        EXPECT_FALSE(third.TryBecomeInstance(u"dir/a b%\n\u00e4.mp3"_s));
    }
    QElapsedTimer waited;
    waited.start();
    while (files.size() < 2 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(files.size(), 2);
    files.sort(); // the two connections may be served in either order
    EXPECT_EQ(files[0], QString());
    EXPECT_EQ(files[1], QDir::currentPath() + u"/dir/a b%\n\u00e4.mp3"_s);

    // Once the first instance ends, a new start runs.
    first.reset();
    CSingleInstance fourth(id);
    EXPECT_TRUE(fourth.TryBecomeInstance());
}
