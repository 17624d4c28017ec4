#pragma once

#include "support/testdirs.h"
#include "windows/common/dialogs.h"
#include "windows/common/program.h"
#include "windows/main/articlewindow.h"

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>

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
    /// Closes the next message box as soon as it appears and remembers its text.
    void answerNextMessage(int button = QMessageBox::Ok)
    {
        messages.clear();
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [this, timer, button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->windowTitle() + u'|' + box->text();
                box->done(button);
                timer->deleteLater();
            }
        });
        timer->start();
    }

    void TearDown() override { window.reset(); }

    ProgramFolder folder;
    nuvela::ScriptedDialogs dialogs;
    std::unique_ptr<nuvela::Program> program;
    std::unique_ptr<nuvela::ArticleWindow> window;
    QStringList messages;
    int quits = 0;
};

} // namespace test
