// A .ui file that places a Retainer, loaded the way form-based programs do:
// through the Designer plugin that the library ships.

#include "ret/retainer.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLabel>
#include <QPluginLoader>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(DesignerPlugin, OffersRetainerAsAContainerThatFormsCanHold)
{
    QPluginLoader loader(QStringLiteral(RET_DESIGNER_PLUGIN));
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
    ASSERT_NE(plugin, nullptr) << loader.errorString().toStdString();
    EXPECT_TRUE(plugin->isContainer());
    // Designer and uic find the class by this name: it must be the one the
    // widget really has and the one the template XML declares.
    const std::unique_ptr<QWidget> made(plugin->createWidget(nullptr));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(plugin->name(), QLatin1String(made->metaObject()->className()));
    EXPECT_NE(plugin->domXml().indexOf(QStringLiteral("class=\"%1\"").arg(plugin->name())), -1);

    const QByteArray form = R"(<ui version="4.0">
 <widget class="QWidget" name="form">
  <widget class="Retainer" name="panel">
   <property name="geometry"><rect><x>0</x><y>0</y><width>240</width><height>160</height></rect></property>
   <property name="Caption"><string>Versions</string></property>
   <property name="BorderThickness"><number>3</number></property>
   <widget class="QLabel" name="inside">
    <property name="text"><string>inside</string></property>
   </widget>
  </widget>
 </widget>
</ui>
)";
    QUiLoader ui;
    ui.clearPluginPaths();
    ui.addPluginPath(QFileInfo(QStringLiteral(RET_DESIGNER_PLUGIN)).absolutePath());
    QBuffer buffer;
    buffer.setData(form);
    const std::unique_ptr<QWidget> top(ui.load(&buffer));
    ASSERT_NE(top, nullptr) << ui.errorString().toStdString();
    auto* panel = top->findChild<Retainer*>(QStringLiteral("panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->caption(), u"Versions");
    EXPECT_EQ(panel->borderThickness(), 3);
    auto* inside = panel->findChild<QLabel*>(QStringLiteral("inside"));
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->parentWidget(), panel);
}

} // namespace
