#pragma once
// Entry field by field on the Enter key, declared once per form.
//
// A form lists its steps in order: a field (or a button) and the handler that
// runs when Enter is pressed in it (or the button is pressed). The handler
// validates, looks up, shows, and answers where the entry goes next:
//   Go::advance()  the next step is enabled, focused and its text selected
//   Go::stay()     focus stays here, the text selected for retyping
//   Go::back()     the step before is reached again
//   Go::to(w)      that step (or any widget) is reached
//   Go::done()     the handler placed the focus itself
// "Later fields stay disabled until reached" is the chain's rule, not the
// form's: reaching a step disables every step after it, and reset() leaves
// only the first enabled. A handler that throws a DomainError has its
// message shown (by the form's guard) and stays.
//
// Enter never reaches the dialog (which would press its default button and
// close), and Enter on a focused push button presses it.

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QPushButton;
class QWidget;

namespace fm {

class Go {
public:
    enum class Kind { Advance, Stay, Back, To, Done };
    static Go advance() { return Go(Kind::Advance); }
    static Go stay() { return Go(Kind::Stay); }
    static Go back() { return Go(Kind::Back); }
    static Go to(QWidget *w) { return Go(Kind::To, w); }
    static Go done() { return Go(Kind::Done); }

    Kind kind() const { return m_kind; }
    QWidget *target() const { return m_target; }

private:
    explicit Go(Kind k, QWidget *target = nullptr) : m_kind(k), m_target(target) {}
    Kind m_kind;
    QWidget *m_target;
};

struct StepOptions {
    // An empty field: by default Enter does nothing. With emptyAs set, the
    // field is given that text (e.g. "0") and the handler runs.
    QString emptyAs;
    bool acceptEmpty = false; // the handler runs on an empty field as it is
    bool lockWhenPassed = false; // disabled once the chain moves past it
    QList<QWidget *> companions; // enabled and disabled together with the step
};

// Runs check; when it throws (a refused value), the field is emptied for the
// clerk to type anew and the refusal passed on to be shown.
void emptyIfRefused(QWidget *field, const std::function<void()> &check);

class EnterChain : public QObject {
public:
    using Handler = std::function<Go()>;
    // Runs fn; shows what it throws and answers false (the form's guard).
    using Guard = std::function<bool(const std::function<void()> &)>;

    explicit EnterChain(QObject *parent) : QObject(parent) {}

    void setGuard(Guard guard) { m_guard = std::move(guard); }

    // Appends a step. A push button as a step runs the handler when pressed.
    EnterChain &step(QWidget *w, Handler handler, StepOptions options = {});
    // Enter in a field that is not part of the order (a search box, a field
    // of another panel) runs fn; the chain enables and disables nothing.
    void on(QWidget *w, std::function<void()> fn);

    // Only the first step enabled, focused and selected.
    void reset();
    // Enables w (and its companions), focuses it and selects its text; every
    // step after w is disabled. A widget that is not a step is just enabled
    // and focused.
    void reach(QWidget *w);
    // Every step disabled (e.g. a slip that has been closed).
    void disableAll();
    // Runs w's step as if Enter had been pressed in it.
    void run(QWidget *w);

    const std::vector<QWidget *> &steps() const { return m_order; }

    // Until every form declares its steps: enables and focuses a field.
    static void advance(QWidget *next);

    // Buttons never become the dialog's default, and Enter on a focused
    // button presses it.
    static void noAutoDefault(QWidget *root);
    static void pressOnEnter(QPushButton *button);
    // Focuses w and selects its text, so that typing replaces it.
    static void focusField(QWidget *w);
    // Whether a field counts as empty: blank text, a combo box showing its
    // placeholder, a date input into which no digit was typed.
    static bool isBlank(QWidget *w);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Step {
        QWidget *widget = nullptr;
        Handler handler;
        StepOptions options;
    };
    int indexOf(QWidget *w) const;
    void setStepEnabled(const Step &s, bool on);
    void runStep(int index);
    void apply(int index, const Go &go);
    void watch(QWidget *w, QWidget *owner);

    std::vector<Step> m_steps;
    std::vector<QWidget *> m_order;
    QHash<QObject *, QWidget *> m_watched;               // event source -> step widget
    QHash<QObject *, std::function<void()>> m_plain;     // fields outside the order
    Guard m_guard;
};

} // namespace fm
