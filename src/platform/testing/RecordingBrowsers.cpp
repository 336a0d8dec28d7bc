#include "RecordingBrowsers.h"

#include <QVariant>

namespace tx {

namespace {

// The control lives as long as its widget: a child object that deletes the control.
class ControlOwner : public QObject {
public:
    ControlOwner(QWidget* widget, RecordingBrowserControl* control)
        : QObject(widget), control_(control) {}
    ~ControlOwner() override { delete control_; }
    RecordingBrowserControl* control_;
};

} // namespace

RecordingBrowserControl::RecordingBrowserControl(QWidget* parent) : widget_(new QWidget(parent)) {
    widget_->setObjectName(QStringLiteral("RecordingBrowser"));
    new ControlOwner(widget_, this);
}

BrowserControl* RecordingBrowserFactory::create(QWidget* parent) {
    // Wrap navigate so that the factory sees every address too.
    class Control : public RecordingBrowserControl {
    public:
        Control(QWidget* parent, RecordingBrowserFactory* f)
            : RecordingBrowserControl(parent), f_(f) {}
        void navigate(const QString& address) override {
            RecordingBrowserControl::navigate(address);
            f_->all_ << address;
        }
        RecordingBrowserFactory* f_;
    };
    auto* control = new Control(parent, this);
    control->widget()->setProperty("tx_recording_control",
                                   QVariant::fromValue(static_cast<void*>(control)));
    widgets_.push_back(control->widget());
    return control;
}

std::vector<RecordingBrowserControl*> RecordingBrowserFactory::controls() const {
    std::vector<RecordingBrowserControl*> out;
    for (const QPointer<QWidget>& w : widgets_)
        if (w)
            out.push_back(static_cast<RecordingBrowserControl*>(
                w->property("tx_recording_control").value<void*>()));
    return out;
}

RecordingBrowserControl* RecordingBrowserFactory::last() const {
    const auto all = controls();
    return all.empty() ? nullptr : all.back();
}

} // namespace tx
