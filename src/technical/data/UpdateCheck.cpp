#include "technical/data/UpdateCheck.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace korven::technical {

UpdateFetch::UpdateFetch(QObject* parent) : QObject(parent), manager_(new QNetworkAccessManager(this)) {}

UpdateFetch::~UpdateFetch() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
}

void UpdateFetch::start(const QUrl& url, int timeoutMs) {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
        reply_ = nullptr;
    }
    timedOut_ = false;
    timeoutMs_ = timeoutMs;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    reply_ = manager_->get(request);
    QNetworkReply* reply = reply_;
    // The whole answer must come within the time-out, however slowly a server trickles it.
    QTimer::singleShot(timeoutMs, reply, [this, reply] {
        if (reply != reply_ || reply->isFinished()) return;
        timedOut_ = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, &UpdateFetch::done);
}

void UpdateFetch::done() {
    QNetworkReply* reply = reply_;
    if (!reply || sender() != reply) return;
    reply_ = nullptr;
    reply->deleteLater();
    if (timedOut_) {
        emit finished(false, {},
                      QStringLiteral("Serwer aktualizacji nie odpowiedział w ciągu %1 s (%2).")
                          .arg(timeoutMs_ / 1000.0, 0, 'f', timeoutMs_ % 1000 ? 1 : 0)
                          .arg(reply->url().toString()));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        emit finished(false, {},
                      QStringLiteral("%1 (%2)").arg(reply->errorString(), reply->url().toString()));
        return;
    }
    emit finished(true, reply->readAll(), {});
}

} // namespace korven::technical
