// quillet-make-skins: draws every bitmap, region and cursor of the shipped skins and writes their
// skin files. Usage: quillet-make-skins <skins folder>; writes <folder>/en and <folder>/de.
#include "SkinLayout.h"
#include "SkinWriter.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillet-make-skins <skins folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    try {
        for (const Texts* texts : {&English, &German})
            CSkinWriter(root.filePath(texts->lang), *texts).write();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillet-make-skins: %s\n", e.what());
        return 1;
    }
    return 0;
}
