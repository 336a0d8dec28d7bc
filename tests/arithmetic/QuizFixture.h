#pragma once

#include "arithmetic/YsmainForm.h"
#include "platform/Services.h"
#include "platform/testing/RecordingSoundService.h"
#include "platform/testing/TestClock.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/WidgetAccessibility.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>

#include <functional>
#include <ostream>
#include <vector>

namespace tx {

// A recorded play and when it happened, in milliseconds from a chosen start.
struct Played {
    QString name;
    long long atMs = 0;
    bool operator==(const Played&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Played& p) {
    return out << p.name.toStdString() << " @" << p.atMs;
}

// Records every play with the test clock's running time and lets a test act on it.
class QuizSound : public RecordingSoundService {
public:
    explicit QuizSound(TestClock& clock) : RecordingSoundService(&clock), clock_(clock) {}

    void play(const QString& path) override {
        RecordingSoundService::play(path);
        plays.push_back({path, clock_.advancedMs()});
        if (onPlay) {
            onPlay(path);
        }
    }

    std::vector<Played> plays;
    std::function<void(const QString&)> onPlay;

private:
    TestClock& clock_;
};

// What the child sees of the exercise and the set.
struct Snapshot {
    QString first, op, second, answer, score;
    QStringList marks;
    bool operator==(const Snapshot&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Snapshot& s) {
    return out << (s.first + s.op + s.second + "=" + s.answer + " " + s.score + " [" +
                   s.marks.join(',') + "]")
                      .toStdString();
}

inline QString captionOf(QWidget* w) {
    if (auto* flat = qobject_cast<TFlatSpeedButton*>(w)) {
        return flat->caption();
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->text();
    }
    return {};
}

// A quiz window on the test clock and sound service; the waits take no real time.
class QuizFixture : public ::testing::Test {
protected:
    QuizFixture() {
        // As at program start: before any window, whose accessible interfaces are kept.
        installWidgetAccessibility();
        services.sound = &sound;
        services.clock = &clock;
        form = new TYSMAINForm(services);
        form->setSeedSource([this] { return nextSeed++; });
        form->show();
    }
    ~QuizFixture() override { delete form.data(); }

    template <typename T = QWidget> T* child(const QString& name) {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QWidget* widget(const QString& name) { return child<QWidget>(name); }
    QTimer* timer(const QString& name) { return child<QTimer>(name); }
    QString text(const QString& name) { return child<QLabel>(name)->text(); }

    QStringList marks() {
        QStringList texts;
        for (const char* name : kMarkPanels) {
            texts << text(name);
        }
        return texts;
    }
    QColor markColor(int position) {
        return child<QLabel>(kMarkPanels[position])->palette().color(QPalette::WindowText);
    }
    Snapshot snapshot() {
        return {text("FIRSTLB"),  text("fhlb"),     text("SECONDLB"),
                text("ANSWERLB"), text("fENSHULB"), marks()};
    }

    void click(const QString& name) { QTest::mouseClick(widget(name), Qt::LeftButton); }

    // A new, empty set of subtractions whose first exercise waits to be spoken.
    void expectFreshSubtractionSet() {
        EXPECT_THAT(marks(), ::testing::ElementsAre("", "", "", "", ""));
        EXPECT_EQ(text("fENSHULB"), "0分");
        EXPECT_EQ(text("fhlb"), "-");
        EXPECT_EQ(text("ANSWERLB"), "?");
        EXPECT_FALSE(widget("NEXTsb")->isEnabled());
        EXPECT_TRUE(timer("Timer3")->isActive());
    }

    // Runs the spoken sequence its timer is waiting to start.
    void speak() {
        QTimer* addition = timer("Timer2");
        QTimer* subtraction = timer("Timer3");
        ASSERT_NE(addition->isActive(), subtraction->isActive());
        if (addition->isActive()) {
            form->Timer2Timer();
        } else {
            form->Timer3Timer();
        }
    }
    void start() {
        click("STARTSB");
        speak();
    }
    int result() {
        const int first = text("FIRSTLB").toInt();
        const int second = text("SECONDLB").toInt();
        return text("fhlb") == "+" ? first + second : first - second;
    }

    QStringList namesSince(size_t index) const {
        QStringList names;
        for (size_t i = index; i < sound.plays.size(); ++i) {
            names << sound.plays[i].name;
        }
        return names;
    }
    std::vector<Played> playsSince(size_t index, long long startMs) const {
        std::vector<Played> plays(sound.plays.begin() + static_cast<std::ptrdiff_t>(index),
                                  sound.plays.end());
        for (Played& p : plays) {
            p.atMs -= startMs;
        }
        return plays;
    }

    static constexpr const char* kMarkPanels[] = {"pl0", "PL1", "PL2", "PL3", "PL4"};

    TestClock clock;
    QuizSound sound{clock};
    Services services;
    QPointer<TYSMAINForm> form;
    std::uint32_t nextSeed = 1;
};

} // namespace tx
