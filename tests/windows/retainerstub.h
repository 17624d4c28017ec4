#pragma once

#include <QWidget>

/// Stands in for the panel of library Ret, which this layer knows only by its
/// class name and its "Caption" property.
class Retainer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)

public:
    using QWidget::QWidget;
    QString caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }

private:
    QString caption_;
};
