#pragma once

#include <QObject>

class QTableView;
class QTimer;

// Keeps a table view's columns as wide as their texts while rows come, change and go: every
// column but the last takes the width of its heading and its widest cell, at most MaxWidth
// pixels (a longer text is cut with "..." and the cell's tool tip holds it whole); the last
// column stretches over the room that is left. Changes are gathered for DelayMs before the
// columns are measured, so a burst of a thousand rows costs a few measurements, not one per row;
// a measurement reads the rows in view and about a thousand others (Qt's resize precision). A
// view that is not shown (a tab behind another) is measured when it is shown.
class ColumnFit : public QObject
{
    Q_OBJECT
public:
    static constexpr int DelayMs = 150;
    static constexpr int MaxWidth = 420;

    // Follows the view's model as it stands now.
    explicit ColumnFit(QTableView *view);

    // Measures once the current changes are over.
    void fitSoon();
    // Measures now.
    void fit();
    // A measurement is due.
    bool pending() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTableView *m_view;
    QTimer *m_timer;
    bool m_stale = false; // changed while not shown
};
