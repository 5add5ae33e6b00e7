// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The module that brings Qt Network, libical and the keyring in; see caldav.h.

#include "caldav.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <libical/ical.h>
#include <qt6keychain/keychain.h>

#include <atomic>
#include <memory>

namespace ruvo {

using namespace Qt::Literals::StringLiterals;

namespace {

// An answer larger than this is no calendar of notes: it is dropped unread.
constexpr qint64 kMaxAnswerSize = 32 * 1024 * 1024;
constexpr int kTransferTimeout = 30'000; // ms without a byte
constexpr int kItemsPerFetch = 100;

constexpr QStringView kDav = u"DAV:";
constexpr QStringView kCalDav = u"urn:ietf:params:xml:ns:caldav";

bool IsLoopback(const QString &host)
{
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QByteArray XmlEscaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

// One answer as the session reads it.
struct Answer
{
    int status = 0;
    QByteArray body;
    QByteArray etag;
    QString failure; // why no status came
};

// What one <response> of a multistatus holds.
struct DavResponse
{
    QString href;
    int status = 0; // of the response itself, or of its propstat that holds the properties
    QByteArray etag;
    QByteArray data;
    bool isCalendar = false;
    bool syncCollection = false;
};

int StatusOf(const QString &line)
{
    // "HTTP/1.1 404 Not Found"
    const QStringList words = line.simplified().split(u' ');
    return words.size() >= 2 ? words[1].toInt() : 0;
}

std::optional<QList<DavResponse>> ReadMultistatus(const QByteArray &body, QByteArray *token)
{
    QList<DavResponse> responses;
    QXmlStreamReader xml(body);
    DavResponse response;
    int propstatStatus = 0;
    DavResponse propstat;
    bool inPropstat = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            const QStringView space = xml.namespaceUri();
            if (space == kDav && name == u"response") {
                response = {};
            } else if (space == kDav && name == u"propstat") {
                inPropstat = true;
                propstat = {};
                propstatStatus = 0;
            } else if (space == kDav && name == u"href" && !inPropstat) {
                response.href = xml.readElementText().trimmed();
            } else if (space == kDav && name == u"status") {
                const int status = StatusOf(xml.readElementText());
                if (inPropstat)
                    propstatStatus = status;
                else
                    response.status = status;
            } else if (space == kDav && name == u"getetag") {
                propstat.etag = xml.readElementText().trimmed().toUtf8();
            } else if (space == kCalDav && name == u"calendar-data") {
                propstat.data = xml.readElementText().toUtf8();
            } else if (space == kCalDav && name == u"calendar") {
                propstat.isCalendar = true;
            } else if (space == kDav && name == u"sync-collection") {
                propstat.syncCollection = true;
            } else if (space == kDav && name == u"sync-token" && token) {
                *token = xml.readElementText().trimmed().toUtf8();
            }
        } else if (xml.isEndElement()) {
            const QStringView name = xml.name();
            if (xml.namespaceUri() != kDav)
                continue;
            if (name == u"propstat") {
                inPropstat = false;
                if (propstatStatus / 100 == 2) {
                    response.status = propstatStatus;
                    if (!propstat.etag.isEmpty())
                        response.etag = propstat.etag;
                    if (!propstat.data.isEmpty())
                        response.data = propstat.data;
                    response.isCalendar = response.isCalendar || propstat.isCalendar;
                    response.syncCollection = response.syncCollection || propstat.syncCollection;
                } else if (response.status == 0) {
                    response.status = propstatStatus;
                }
            } else if (name == u"response") {
                responses << response;
            }
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return responses;
}

class Session final : public CalDavSession
{
public:
    Session(const QUrl &url, const QString &user, const QString &password) : m_url(url)
    {
        if (!m_url.path().endsWith(u'/'))
            m_url.setPath(m_url.path() + u'/');
        if (!user.isEmpty())
            m_authorization = "Basic " + (user + u':' + password).toUtf8().toBase64();
        m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        m_network.setAutoDeleteReplies(true);
        // No cookie is kept: nothing but the credentials identifies us.
        m_network.setCookieJar(nullptr);
    }

    QString error() const override { return m_error; }
    int requests() const override { return m_requests; }

    std::optional<bool> open() override
    {
        const Answer answer = send("PROPFIND", m_url.path(QUrl::FullyEncoded), "0",
                                   "<d:propfind xmlns:d=\"DAV:\" "
                                   "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>"
                                   "<d:resourcetype/><d:supported-report-set/>"
                                   "</d:prop></d:propfind>");
        if (answer.status == 404) {
            const Answer made =
                send("MKCALENDAR", m_url.path(QUrl::FullyEncoded), {},
                     "<c:mkcalendar xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                     "<d:set><d:prop><d:displayname>Ruvo</d:displayname>"
                     "<c:supported-calendar-component-set><c:comp name=\"VEVENT\"/>"
                     "<c:comp name=\"VJOURNAL\"/></c:supported-calendar-component-set>"
                     "</d:prop></d:set></c:mkcalendar>");
            if (!succeeded(made))
                return std::nullopt;
            return open();
        }
        if (!succeeded(answer, 207))
            return std::nullopt;
        const std::optional<QList<DavResponse>> responses = ReadMultistatus(answer.body, nullptr);
        if (!responses)
            return fail(u"le serveur répond un XML illisible"_s);
        for (const DavResponse &response : *responses) {
            if (response.isCalendar)
                return response.syncCollection;
        }
        return fail(m_url.toDisplayString(QUrl::RemoveUserInfo) + u" n'est pas un calendrier");
    }

    std::optional<DavChanges> changes(const QByteArray &token, bool syncCollection) override
    {
        DavChanges found;
        QList<DavResponse> responses;
        if (syncCollection) {
            const Answer answer = send("REPORT", m_url.path(QUrl::FullyEncoded), {},
                                       "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" +
                                           XmlEscaped(QString::fromUtf8(token)) +
                                           "</d:sync-token><d:sync-level>1</d:sync-level>"
                                           "<d:prop><d:getetag/></d:prop></d:sync-collection>");
            // A token the server no longer knows: list everything again.
            if (!token.isEmpty() &&
                (answer.status == 403 || answer.status == 409 || answer.status == 400))
                return changes({}, true);
            if (!succeeded(answer, 207))
                return std::nullopt;
            std::optional<QList<DavResponse>> read = ReadMultistatus(answer.body, &found.token);
            if (!read)
                return fail(u"le serveur répond un XML illisible"_s);
            responses = *read;
            found.complete = token.isEmpty();
        } else {
            const Answer answer =
                send("REPORT", m_url.path(QUrl::FullyEncoded), "1",
                     "<c:calendar-query xmlns:d=\"DAV:\" "
                     "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop><d:getetag/></d:prop>"
                     "<c:filter><c:comp-filter name=\"VCALENDAR\"/></c:filter>"
                     "</c:calendar-query>");
            if (!succeeded(answer, 207))
                return std::nullopt;
            std::optional<QList<DavResponse>> read = ReadMultistatus(answer.body, nullptr);
            if (!read)
                return fail(u"le serveur répond un XML illisible"_s);
            responses = *read;
            found.complete = true;
        }
        for (const DavResponse &response : responses) {
            const std::optional<QString> href = itemPath(response.href);
            if (!href)
                continue; // the collection itself, or a path outside it
            if (response.status == 404)
                found.removed << *href;
            else if (response.status / 100 == 2 && !response.etag.isEmpty())
                found.changed << DavItem{*href, response.etag, {}};
        }
        return found;
    }

    std::optional<QList<DavItem>> fetch(const QStringList &hrefs) override
    {
        QList<DavItem> items;
        for (qsizetype first = 0; first < hrefs.size(); first += kItemsPerFetch) {
            QByteArray body = "<c:calendar-multiget xmlns:d=\"DAV:\" "
                              "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop><d:getetag/>"
                              "<c:calendar-data/></d:prop>";
            for (const QString &href : hrefs.mid(first, kItemsPerFetch))
                body += "<d:href>" + XmlEscaped(href) + "</d:href>";
            body += "</c:calendar-multiget>";
            const Answer answer = send("REPORT", m_url.path(QUrl::FullyEncoded), "1", body);
            if (!succeeded(answer, 207))
                return std::nullopt;
            const std::optional<QList<DavResponse>> responses =
                ReadMultistatus(answer.body, nullptr);
            if (!responses)
                return fail(u"le serveur répond un XML illisible"_s);
            for (const DavResponse &response : *responses) {
                const std::optional<QString> href = itemPath(response.href);
                if (href && response.status / 100 == 2 && !response.etag.isEmpty())
                    items << DavItem{*href, response.etag, response.data};
            }
        }
        return items;
    }

    QList<DavWrite> write(const QList<DavChange> &changes) override
    {
        QList<DavWrite> writes(changes.size());
        QList<QNetworkReply *> replies;
        for (const DavChange &change : changes) {
            QNetworkRequest request = requestFor(change.href);
            if (change.ifMatch.isEmpty())
                request.setRawHeader("If-None-Match", "*");
            else
                request.setRawHeader("If-Match", change.ifMatch);
            if (change.data) {
                request.setHeader(QNetworkRequest::ContentTypeHeader,
                                  QByteArrayLiteral("text/calendar; charset=utf-8"));
                replies << m_network.sendCustomRequest(request, "PUT", *change.data);
            } else {
                replies << m_network.sendCustomRequest(request, "DELETE");
            }
            ++m_requests;
        }
        const QList<Answer> answers = wait(replies);
        for (qsizetype i = 0; i < answers.size(); ++i) {
            const Answer &answer = answers[i];
            DavWrite &write = writes[i];
            if (answer.status / 100 == 2) {
                write.outcome = DavWrite::Done;
                write.etag = answer.etag;
            } else if (answer.status == 412) {
                write.outcome = DavWrite::Refused;
            } else if (answer.status == 404 || answer.status == 410) {
                write.outcome = DavWrite::Gone;
            } else {
                succeeded(answer); // tells why
            }
        }
        return writes;
    }

    QString hrefFor(const QString &name) const override
    {
        return m_url.path(QUrl::FullyEncoded) + QString::fromLatin1(QUrl::toPercentEncoding(name));
    }

    void cancel() override
    {
        m_cancelled = true;
        // The replies belong to the session's thread, whose wait() runs this.
        QMetaObject::invokeMethod(
            &m_network,
            [this] {
                const QList<QNetworkReply *> replies = m_network.findChildren<QNetworkReply *>();
                for (QNetworkReply *reply : replies)
                    reply->abort();
            },
            Qt::QueuedConnection);
    }

private:
    // The path of an item under the collection as an href of an answer names it; none for the
    // collection itself and for anything elsewhere.
    std::optional<QString> itemPath(const QString &href) const
    {
        const QUrl url = m_url.resolved(QUrl(href));
        if (url.scheme() != m_url.scheme() || url.host() != m_url.host() ||
            url.port() != m_url.port())
            return std::nullopt;
        const QString path = url.path(QUrl::FullyEncoded);
        const QString collection = m_url.path(QUrl::FullyEncoded);
        if (!path.startsWith(collection) || path.size() == collection.size() ||
            path.indexOf(u'/', collection.size()) >= 0 || path.contains(u".."))
            return std::nullopt;
        return path;
    }

    QNetworkRequest requestFor(const QString &path) const
    {
        QUrl url = m_url;
        url.setPath(path, QUrl::StrictMode);
        QNetworkRequest request(url);
        request.setTransferTimeout(kTransferTimeout);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        if (!m_authorization.isEmpty())
            request.setRawHeader("Authorization", m_authorization);
        return request;
    }

    Answer send(const QByteArray &verb, const QString &path, const QByteArray &depth,
                const QByteArray &body)
    {
        QNetworkRequest request = requestFor(path);
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArrayLiteral("application/xml; charset=utf-8"));
        if (!depth.isEmpty())
            request.setRawHeader("Depth", depth);
        ++m_requests;
        return wait({m_network.sendCustomRequest(request, verb, body)}).first();
    }

    // Waits for every reply; an answer past kMaxAnswerSize is cut off and failed.
    QList<Answer> wait(const QList<QNetworkReply *> &replies)
    {
        QList<Answer> answers(replies.size());
        qsizetype pending = replies.size();
        QEventLoop loop;
        for (qsizetype i = 0; i < replies.size(); ++i) {
            QNetworkReply *reply = replies[i];
            QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                             [reply](qint64 received, qint64 total) {
                                 if (received > kMaxAnswerSize || total > kMaxAnswerSize) {
                                     reply->setProperty("tooLarge", true);
                                     reply->abort();
                                 }
                             });
            QObject::connect(reply, &QNetworkReply::finished, &loop, [&, i, reply] {
                Answer &answer = answers[i];
                if (m_cancelled) {
                    answer.failure = u"la synchronisation est interrompue"_s;
                } else if (reply->property("tooLarge").toBool()) {
                    answer.failure = u"le serveur envoie une réponse trop grande"_s;
                } else if (reply->error() == QNetworkReply::SslHandshakeFailedError) {
                    answer.failure = u"le certificat du serveur n'est pas valable ("_s +
                                     reply->errorString() + u')';
                } else {
                    answer.status =
                        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                    if (answer.status == 0)
                        answer.failure =
                            u"le serveur ne répond pas ("_s + reply->errorString() + u')';
                    answer.body = reply->readAll();
                    answer.etag = reply->rawHeader("ETag");
                }
                if (--pending == 0)
                    loop.quit();
            });
        }
        if (m_cancelled) {
            // Refused before it was sent, or cancelled between two calls.
            for (QNetworkReply *reply : replies)
                reply->abort();
        }
        if (pending > 0)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        return answers;
    }

    bool succeeded(const Answer &answer, int expected = 0)
    {
        if (!answer.failure.isEmpty()) {
            m_error = answer.failure;
            return false;
        }
        if (expected ? answer.status == expected : answer.status / 100 == 2)
            return true;
        if (answer.status == 401)
            m_error = u"le serveur refuse l'utilisateur ou le mot de passe"_s;
        else if (answer.status / 100 == 3)
            m_error = u"le serveur renvoie ailleurs ; donnez l'adresse du calendrier même"_s;
        else
            m_error = u"le serveur répond "_s + QString::number(answer.status);
        return false;
    }

    std::nullopt_t fail(const QString &why)
    {
        m_error = why;
        return std::nullopt;
    }

    QUrl m_url;
    QByteArray m_authorization;
    QNetworkAccessManager m_network;
    QString m_error;
    int m_requests = 0;
    std::atomic_bool m_cancelled = false;
};

struct ComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QByteArray TextOf(icalcomponent *component)
{
    const std::unique_ptr<char, decltype(&icalmemory_free_buffer)> text(
        icalcomponent_as_ical_string_r(component), &icalmemory_free_buffer);
    return text ? QByteArray(text.get()) : QByteArray();
}

Component NewCalendar()
{
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Ruvo//Ruvo//FR"));
    return calendar;
}

icaltimetype Stamp()
{
    return icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
}

icaltimetype DateOf(const QDate &date)
{
    icaltimetype time = icaltime_null_date();
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    return time;
}

icaltimetype HourOf(const QDate &date, int hour)
{
    icaltimetype time = icaltime_null_time();
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    time.hour = hour;
    return time;
}

QString TextProperty(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

bool Repeats(icalcomponent *component)
{
    return icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY) ||
           icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY) ||
           icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY);
}

CalendarEntry EntryOf(icalcomponent *component)
{
    CalendarEntry entry;
    entry.uid = TextProperty(icalcomponent_get_uid(component));
    const icalcomponent_kind kind = icalcomponent_isa(component);
    if ((kind != ICAL_VEVENT_COMPONENT && kind != ICAL_VJOURNAL_COMPONENT) || Repeats(component) ||
        !icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY))
        return entry;
    const icaltimetype start = icalcomponent_get_dtstart(component);
    if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start))
        return entry;
    if (start.is_date || kind == ICAL_VJOURNAL_COMPONENT) {
        entry.date = QDate(start.year, start.month, start.day);
    } else if (icaltime_is_utc(start) || start.zone) {
        const QDateTime local =
            QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(start, start.zone));
        entry.date = local.date();
        entry.hour = local.time().hour();
        entry.minute = local.time().minute();
    } else {
        entry.date = QDate(start.year, start.month, start.day); // floating: as written
        entry.hour = start.hour;
        entry.minute = start.minute;
    }
    if (!entry.date.isValid())
        return entry;
    entry.kind = kind == ICAL_VJOURNAL_COMPONENT ? CalendarEntry::Journal : CalendarEntry::Event;
    entry.summary = TextProperty(icalcomponent_get_summary(component));
    entry.description = TextProperty(icalcomponent_get_description(component));
    return entry;
}

} // namespace

class CalDavPlugin final : public QObject, public CalDavModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID RuvoCalDavModule_iid)
    Q_INTERFACES(ruvo::CalDavModule)

public:
    CalDavPlugin() { icaltimezone_get_utc_timezone(); }

    std::unique_ptr<CalDavSession> session(const QUrl &url, const QString &user,
                                           const QString &password, QString *error) const override
    {
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() || url.host().isEmpty() || (scheme != u"https" && scheme != u"http")) {
            if (error)
                *error = u"l'adresse du calendrier n'est pas une adresse https://"_s;
            return nullptr;
        }
        // Plain HTTP would show the password and the notes to the whole network.
        if (scheme == u"http" && !IsLoopback(url.host())) {
            if (error)
                *error = u"une adresse http:// n'est acceptée que pour cette machine même ; "
                         u"prenez https://"_s;
            return nullptr;
        }
        QUrl plain = url;
        plain.setUserInfo({});
        return std::make_unique<Session>(plain, user, password);
    }

    std::optional<QList<CalendarEntry>> read(const QByteArray &text) const override
    {
        const Component root(icalparser_parse_string(text.constData()));
        if (!root)
            return std::nullopt;
        QList<CalendarEntry> entries;
        if (icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT) {
            entries << EntryOf(root.get());
            return entries;
        }
        for (icalcomponent *inner =
                 icalcomponent_get_first_component(root.get(), ICAL_ANY_COMPONENT);
             inner; inner = icalcomponent_get_next_component(root.get(), ICAL_ANY_COMPONENT)) {
            if (icalcomponent_isa(inner) != ICAL_VTIMEZONE_COMPONENT)
                entries << EntryOf(inner);
        }
        return entries;
    }

    QByteArray journal(const QString &uid, const QDate &date,
                       const QStringList &notes) const override
    {
        Component calendar = NewCalendar();
        icalcomponent *journal = icalcomponent_new_vjournal();
        icalcomponent_add_component(calendar.get(), journal);
        icalcomponent_set_uid(journal, uid.toUtf8().constData());
        icalcomponent_set_dtstamp(journal, Stamp());
        icalcomponent_set_dtstart(journal, DateOf(date));
        QString first;
        for (const QString &line : notes) {
            if (!line.trimmed().isEmpty()) {
                first = line.trimmed();
                break;
            }
        }
        icalcomponent_set_summary(journal, first.toUtf8().constData());
        icalcomponent_set_description(journal, notes.join(u'\n').toUtf8().constData());
        return TextOf(calendar.get());
    }

    QByteArray event(const QString &uid, const QDate &date, int hour,
                     const QString &summary) const override
    {
        Component calendar = NewCalendar();
        icalcomponent *event = icalcomponent_new_vevent();
        icalcomponent_add_component(calendar.get(), event);
        icalcomponent_set_uid(event, uid.toUtf8().constData());
        icalcomponent_set_dtstamp(event, Stamp());
        icalcomponent_set_dtstart(event, HourOf(date, hour));
        icalcomponent_set_dtend(event,
                                hour == 23 ? HourOf(date.addDays(1), 0) : HourOf(date, hour + 1));
        icalcomponent_set_summary(event, summary.toUtf8().constData());
        return TextOf(calendar.get());
    }

    std::optional<QByteArray> withSummary(const QByteArray &text,
                                          const QString &summary) const override
    {
        const Component root(icalparser_parse_string(text.constData()));
        if (!root)
            return std::nullopt;
        icalcomponent *inner = icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT
                                   ? icalcomponent_get_first_real_component(root.get())
                                   : root.get();
        if (!inner)
            return std::nullopt;
        icalcomponent_set_summary(inner, summary.toUtf8().constData());
        icalcomponent_set_dtstamp(inner, Stamp());
        return TextOf(root.get());
    }

    std::optional<QString> storedPassword(const QString &server, const QString &user) const override
    {
        QKeychain::ReadPasswordJob job(QStringLiteral("Ruvo"));
        job.setAutoDelete(false);
        job.setKey(user + u'@' + server);
        runJob(job);
        if (job.error() != QKeychain::NoError)
            return std::nullopt;
        return job.textData();
    }

    bool storePassword(const QString &server, const QString &user, const QString &password,
                       QString *error) const override
    {
        QKeychain::WritePasswordJob job(QStringLiteral("Ruvo"));
        job.setAutoDelete(false);
        job.setKey(user + u'@' + server);
        job.setTextData(password);
        runJob(job);
        if (job.error() == QKeychain::NoError)
            return true;
        if (error)
            *error = u"le trousseau du bureau ne prend pas le mot de passe ("_s +
                     job.errorString() + u')';
        return false;
    }

private:
    static void runJob(QKeychain::Job &job)
    {
        QEventLoop loop;
        bool finished = false;
        QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
            finished = true;
            loop.quit();
        });
        job.start();
        if (!finished)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
};

} // namespace ruvo

#include "caldavplugin.moc"
