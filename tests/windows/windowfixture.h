#pragma once

#include "support/testdirs.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/main/articlewindow.h"

#include <QApplication>
#include <QListWidget>

#include <gtest/gtest.h>

#include <memory>

namespace test {

/// The program on a copy of the shipped program folder, with dialogs the
/// test answers, scaled for an 800 × 600 screen unless a test says otherwise.
class WindowFixture : public testing::Test {
protected:
    void start(QSize screen = QSize(800, 600))
    {
        window.reset(); // a window never outlives its program
        program = std::make_unique<nuvela::Program>(folder.path(), dialogs, QStringLiteral("Nuvela"));
        program->quit = [this] { ++quits; };
        window = std::make_unique<nuvela::ArticleWindow>(*program, screen);
    }
    void choose(const QString& name)
    {
        const auto items = window->gallery()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        window->gallery()->setCurrentItem(items.first());
    }
    /// The messages shown so far, as "title|text".
    QStringList messages() const
    {
        QStringList shown;
        for (const auto& r : dialogs.requests())
            if (r.kind == nuvela::ScriptedDialogs::Kind::Tell)
                shown << r.title + u'|' + r.text;
        return shown;
    }

    void TearDown() override { window.reset(); }

    ProgramFolder folder;
    nuvela::ScriptedDialogs dialogs;
    std::unique_ptr<nuvela::Program> program;
    std::unique_ptr<nuvela::ArticleWindow> window;
    int quits = 0;
};

} // namespace test
