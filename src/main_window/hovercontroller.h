#pragma once

#include <QList>
#include <QObject>

class QWidget;

/// Shows and hides command buttons as the mouse moves over other widgets: each rule says which
/// widget the mouse moves over and which button it shows or hides. Enabling is left alone.
class HoverController : public QObject
{
    Q_OBJECT

public:
    enum class Effect { Show, Hide };

    explicit HoverController(QObject *parent = nullptr);
    /// Adds a rule: the mouse moving over (or entering) `over` applies `effect` to `target`.
    void addRule(QWidget *over, QWidget *target, Effect effect);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Rule
    {
        QWidget *over;
        QWidget *target;
        Effect effect;
    };
    QList<Rule> m_rules;
};
