#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace korven::technical {

// One HTTP GET of the update server's version file, without blocking: the window goes on while the
// answer is awaited, and a server that does not answer within the time-out ends the check with an
// error instead of leaving it hanging.
class UpdateFetch : public QObject {
    Q_OBJECT
public:
    explicit UpdateFetch(QObject* parent = nullptr);
    ~UpdateFetch() override;

    // Starts a GET of url; finished() follows exactly once. A fetch still running is abandoned.
    void start(const QUrl& url, int timeoutMs);
    bool running() const { return reply_ != nullptr; }

signals:
    // ok with the body of the answer, or not ok with the reason in plain words.
    void finished(bool ok, const QByteArray& body, const QString& error);

private:
    void done();
    QNetworkAccessManager* manager_;
    QNetworkReply* reply_ = nullptr;
    bool timedOut_ = false;
    int timeoutMs_ = 0;
};

} // namespace korven::technical
