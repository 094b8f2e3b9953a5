#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace korven::session {
class Session;
}

namespace korven::technical {

// "MAPA": counts the rows of the nine data sets, one after the other, with a progress bar.
class Mapa : public QDialog {
    Q_OBJECT
public:
    Mapa(session::Session& session, QWidget* parent = nullptr);
    void start();
    QString count(int index) const;
    int progress() const;

protected:
    bool event(QEvent* event) override;

private:
    session::Session& session_;
    QProgressBar* progress_;
    QList<QLineEdit*> counts_;
    QPushButton* start_;
};

} // namespace korven::technical
