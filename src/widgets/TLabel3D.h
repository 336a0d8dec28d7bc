#pragma once

#include <QColor>
#include <QLabel>

namespace tx {

enum class TLabel3DBevel { bvNone, bvLowered, bvRaised, bvShadow };

// A label whose text is drawn with a light and a dark copy beside it, so that it looks
// engraved or embossed. Transparent unless autoFillBackground is set.
class TLabel3D : public QLabel {
    Q_OBJECT
public:
    explicit TLabel3D(QWidget* parent = nullptr);

    QColor highLightColor() const { return highLightColor_; }
    void setHighLightColor(const QColor& c);
    QColor shadowColor() const { return shadowColor_; }
    void setShadowColor(const QColor& c);
    TLabel3DBevel bevel() const { return bevel_; }
    void setBevel(TLabel3DBevel b);
    quint8 shadowSize() const { return shadowSize_; }
    void setShadowSize(quint8 s);

    QString caption() const { return text(); }
    void setCaption(const QString& caption);

    // With accelerator handling "&X" underlines X; without it "&" is drawn as it is.
    bool showAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool on);

    // The caption as read aloud: without the accelerator marks when they are handled.
    QString plainCaption() const;

    // True when something listens to clicked() or the property "clickable" is set.
    bool isClickable() const;
    // What a left click does: clicked() fires when enabled.
    void click();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int textFlags() const;
    QRect textArea() const;
    void setAndRepaint(auto& member, const auto& value);

    QColor highLightColor_;
    QColor shadowColor_;
    TLabel3DBevel bevel_ = TLabel3DBevel::bvRaised;
    quint8 shadowSize_ = 1;
    bool showAccelChar_ = false;
    bool pressed_ = false;
};

} // namespace tx
