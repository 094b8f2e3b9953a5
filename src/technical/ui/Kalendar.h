#pragma once

#include <QDialog>

class QListWidget;

namespace korven::session {
class Session;
}

namespace korven::technical {

// "Kalendarz": picks the working month of the current year. Confirmed by "&OK", Enter or a double
// click; Esc closes without change. Accepted only when the month was written.
class Kalendar : public QDialog {
    Q_OBJECT
public:
    Kalendar(session::Session& session, QWidget* parent = nullptr);
    // Writes the selected month when no other operator is connected; the window stays open otherwise.
    void confirm();
    QListWidget* list() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    session::Session& session_;
    QListWidget* list_;
};

} // namespace korven::technical
