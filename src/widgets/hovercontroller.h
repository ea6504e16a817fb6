#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

class QLabel;
class QPushButton;
class QWidget;

/// Shows and hides command buttons as the mouse moves over other widgets: each rule says which
/// widget the mouse moves over and which button it shows or hides. Enabling is left alone.
///
/// A hover command is a button lying over its face, a label of the same caption: the face is
/// always there, the button only while the mouse is over the face or the button has the
/// keyboard focus. The button lies above the face, so where it shows it takes the click.
///
/// What shows follows where the pointer is, not the way it took: every move of the pointer in
/// a window of the rules looks up the widget under it and applies the rules of the nearest
/// widget, from it outwards, that has some (over a command's own button, that button stays).
/// When any window of the program opens, closes or moves (a message box going away included),
/// the widget under the pointer is looked up again at once, so no command under a still
/// pointer stays hidden, and none shows away from it.
class HoverController : public QObject
{
    Q_OBJECT

public:
    enum class Effect { Show, Hide };

    explicit HoverController(QObject *parent = nullptr);
    ~HoverController() override;
    /// Adds a rule: the mouse moving over (or entering) `over` applies `effect` to `target`. A
    /// hide leaves a button that has the keyboard focus shown.
    void addRule(QWidget *over, QWidget *target, Effect effect);

    /// Lays `button` over `face` in a new widget, which it returns for the caller's layout, and
    /// makes them one hover command: the mouse over the face shows the button (a rule); Tab
    /// reaches the command through its face, which hands the focus to the button and shows it;
    /// Enter, Return or Space then runs it; the button hides again when the focus leaves it,
    /// unless the mouse is over it. The button starts hidden. A click does not take the focus.
    QWidget *addCommand(QPushButton *button, QLabel *face);

    /// Applies the rules for the widget under the pointer at `globalPos` (screen coordinates)
    /// when it lies in a window of the rules; when another of the program's windows covers that
    /// point of a window of the rules, hides the commands there that do not have the focus.
    void pointerAt(const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Rule
    {
        QWidget *over;
        QWidget *target;
        Effect effect;
    };
    struct Command
    {
        QLabel *face;
        QPushButton *button;
    };
    bool commandEvent(QObject *watched, QEvent *event);
    bool governs(const QWidget *window) const;
    void applyFrom(QWidget *under);
    void apply(const QWidget *over);
    bool pointerOver(const QWidget *widget) const;
    void lookAgainSoon();

    QList<Rule> m_rules;
    QList<Command> m_commands;
    bool m_lookPending = false; ///< a look at the pointer is queued
};
