#include "retainerplugin.h"

#include "ret/hosting.h"
#include "ret/retainer.h"

#include <QIcon>

RetainerPlugin::RetainerPlugin(QObject* parent)
    : QObject(parent)
{
}

QString RetainerPlugin::name() const { return QStringLiteral("Retainer"); }
QString RetainerPlugin::group() const { return QStringLiteral("Containers"); }
QString RetainerPlugin::toolTip() const { return QStringLiteral("Captioned gradient panel"); }
QString RetainerPlugin::whatsThis() const
{
    return QStringLiteral("A rounded panel with a gradient background and a captioned header "
                          "band; place other widgets inside it.");
}
QString RetainerPlugin::includeFile() const { return QStringLiteral("ret/retainer.h"); }
QIcon RetainerPlugin::icon() const { return {}; }
bool RetainerPlugin::isContainer() const { return true; }

QWidget* RetainerPlugin::createWidget(QWidget* parent)
{
    return ret::createControl(QString::fromLatin1(ret::kProgId), parent);
}

QString RetainerPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="Retainer" name="retainer">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>200</width><height>120</height></rect>
  </property>
 </widget>
</ui>
)");
}

void RetainerPlugin::initialize(QDesignerFormEditorInterface*) { initialized_ = true; }
