#pragma once

#include "widgets/ButtonTypes.h"
#include "widgets/FlatUtilitys.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class QPainter;
class QShortcut;

namespace tx {

// A flat button drawn in plain colours that follow its state and the mouse hovering over
// it, with an optional glyph. Buttons of one parent with the same non-zero group index
// form a group in which one button stays down.
class TFlatSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TFlatSpeedButton(QWidget* parent = nullptr);
    ~TFlatSpeedButton() override;

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool allowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool on);
    int groupIndex() const { return groupIndex_; }
    void setGroupIndex(int index);
    bool down() const { return down_; }
    void setDown(bool on);

    // The face colour; follows the parent while parentColor() is set.
    QColor color() const;
    void setColor(const QColor& c);
    bool parentColor() const { return parentColor_; }
    void setParentColor(bool on);
    QColor colorFocused() const { return colorFocused_; }
    void setColorFocused(const QColor& c);
    QColor colorDown() const { return colorDown_; }
    void setColorDown(const QColor& c);
    QColor colorBorder() const { return colorBorder_; }
    void setColorBorder(const QColor& c);
    QColor colorHighLight() const { return colorHighLight_; }
    void setColorHighLight(const QColor& c);
    QColor colorShadow() const { return colorShadow_; }
    void setColorShadow(const QColor& c);
    // The caption's colour (the palette's window text).
    QColor fontColor() const;
    void setFontColor(const QColor& c);

    TAdvColors advColorFocused() const { return advColorFocused_; }
    void setAdvColorFocused(TAdvColors n);
    TAdvColors advColorDown() const { return advColorDown_; }
    void setAdvColorDown(TAdvColors n);
    TAdvColors advColorBorder() const { return advColorBorder_; }
    void setAdvColorBorder(TAdvColors n);
    bool useAdvColors() const { return useAdvColors_; }
    void setUseAdvColors(bool on);

    QImage glyph() const { return glyph_; }
    void setGlyph(const QImage& glyph);
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int n);
    TButtonLayout buttonLayout() const { return layout_; }
    void setButtonLayout(TButtonLayout layout);
    int margin() const { return margin_; }
    void setMargin(int margin);
    int spacing() const { return spacing_; }
    void setSpacing(int spacing);

    TButtonState state() const { return state_; }
    bool isHot() const { return hot_; }
    // Where the last paint put the glyph and the caption.
    QPoint glyphPos() const { return glyphPos_; }
    QRect textRect() const { return textRect_; }

    // What a left click inside does: in a group the Down rule applies, then clicked()
    // fires. Nothing when disabled.
    void click();

    QSize sizeHint() const override { return {25, 25}; }

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Announced {
        bool pressed, checked, hot, disabled;
    };
    Announced announced() const;
    void announceChanges(const Announced& before);

    void setState(TButtonState s);
    void press();
    void track();
    void enter();
    void leave();
    void refreshHot(QPoint globalPos);
    void stopTracking();
    void tellGroup();
    void groupChanged(const TFlatSpeedButton& sender);
    void deriveColors();
    void updateShortcut();
    void paintFace(QPainter& p) const;
    static void checkTracked();

    QString caption_;
    bool allowAllUp_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    QColor color_;
    bool parentColor_ = true;
    QColor colorFocused_{235, 234, 225};
    QColor colorDown_{217, 214, 197};
    QColor colorBorder_{160, 150, 131};
    QColor colorHighLight_{255, 255, 255};
    QColor colorShadow_{0, 0, 0};
    TAdvColors advColorFocused_ = 10;
    TAdvColors advColorDown_ = 10;
    TAdvColors advColorBorder_ = 50;
    bool useAdvColors_ = false;
    QImage glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphTop;
    int margin_ = -1;
    int spacing_ = 4;

    TButtonState state_ = TButtonState::bsUp;
    bool hot_ = false;
    bool dragging_ = false;
    QPoint glyphPos_;
    QRect textRect_;
    QShortcut* shortcut_ = nullptr;
};

} // namespace tx
