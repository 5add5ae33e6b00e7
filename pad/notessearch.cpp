#include "notessearch.h"

#include "calendar/error.h"
#include "pad/dayfilefolder.h"
#include "pad/hourscale.h"

#include <QElapsedTimer>
#include <QPromise>
#include <QVarLengthArray>
#include <QtConcurrent/QtConcurrentRun>

#include <array>
#include <optional>
#include <type_traits>
#include <utility>

namespace ruvo {

namespace {

// Hits go over to the window's thread when this many are waiting, or when the oldest has waited
// this long: the first hits show at once, and a search that finds every line does not flood the
// window's event queue.
constexpr qsizetype kBatchSize = 512;
constexpr qint64 kBatchIntervalMs = 30;

// Folded characters by code point, built once for the Latin, Greek and Cyrillic blocks and the
// rest up to U+1FFF, where nearly every accented letter of a note lies: the hot loop then never
// decomposes a string. kDropped marks a nonspacing mark, kUnlisted a character that does not
// fold to one unit (it takes the slow way).
constexpr char32_t kTableStart = 0x80;
constexpr char32_t kTableEnd = 0x2000;
constexpr char16_t kDropped = 0;
constexpr char16_t kUnlisted = 0xFFFF;

// A folded line: its units, and for each the position in the original line of the character it
// comes from.
struct FoldedText
{
    QVarLengthArray<char16_t, 256> units;
    QVarLengthArray<qsizetype, 256> origins;

    void append(char32_t c, qsizetype origin)
    {
        if (QChar::requiresSurrogates(c)) {
            units.append(QChar::highSurrogate(c));
            units.append(QChar::lowSurrogate(c));
            origins.append(origin);
            origins.append(origin);
        } else {
            units.append(char16_t(c));
            origins.append(origin);
        }
    }
};

// Accents are nonspacing (and enclosing) marks once decomposed. Spacing marks stay: in Indic
// scripts they are the vowels.
bool isDroppedMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing;
}

char16_t asciiFolded(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

void appendFoldedSlowly(char32_t c, qsizetype origin, FoldedText &out)
{
    if (isDroppedMark(c))
        return;
    if (QChar::decompositionTag(c) != QChar::Canonical) {
        out.append(QChar::toCaseFolded(c), origin);
        return;
    }
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    for (const char32_t part : decomposed.toUcs4()) {
        if (!isDroppedMark(part))
            out.append(QChar::toCaseFolded(part), origin);
    }
}

const std::array<char16_t, kTableEnd - kTableStart> &foldTable()
{
    static const auto table = [] {
        std::array<char16_t, kTableEnd - kTableStart> built{};
        FoldedText folded;
        for (char32_t c = kTableStart; c < kTableEnd; ++c) {
            folded.units.clear();
            folded.origins.clear();
            appendFoldedSlowly(c, 0, folded);
            built[c - kTableStart] = folded.units.isEmpty()     ? kDropped
                                     : folded.units.size() == 1 ? folded.units.front()
                                                                : kUnlisted;
        }
        return built;
    }();
    return table;
}

void appendFolded(char32_t c, qsizetype origin, FoldedText &out)
{
    if (c < kTableStart) {
        out.append(asciiFolded(char16_t(c)), origin);
        return;
    }
    if (c < kTableEnd) {
        const char16_t folded = foldTable()[c - kTableStart];
        if (folded == kDropped)
            return;
        if (folded != kUnlisted) {
            out.append(folded, origin);
            return;
        }
    }
    appendFoldedSlowly(c, origin, out);
}

void foldInto(QStringView text, FoldedText &out)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendFolded(QChar::surrogateToUcs4(unit, text[i + 1].unicode()), i, out);
            ++i;
        } else {
            appendFolded(unit, i, out);
        }
    }
}

// Bytes or UTF-16 units, as unsigned values.
template<typename Unit> char16_t unitValue(Unit unit)
{
    return char16_t(std::make_unsigned_t<Unit>(unit));
}

template<typename Unit> bool allAscii(const Unit *units, qsizetype size)
{
    // No early exit: the loop vectorizes, and lines are short.
    char16_t high = 0;
    for (qsizetype i = 0; i < size; ++i)
        high |= unitValue(units[i]);
    return high < 0x80;
}

bool isAscii(QStringView text)
{
    return allAscii(text.utf16(), text.size());
}

// The first place where the ASCII key occurs in ASCII units, ignoring case.
template<typename Unit> qsizetype findAscii(const Unit *units, qsizetype size, QStringView key)
{
    const qsizetype keySize = key.size();
    const char16_t first = key[0].unicode();
    for (qsizetype i = 0; i + keySize <= size; ++i) {
        if (asciiFolded(unitValue(units[i])) != first)
            continue;
        qsizetype j = 1;
        while (j < keySize && asciiFolded(unitValue(units[i + j])) == key[j].unicode())
            ++j;
        if (j == keySize)
            return i;
    }
    return -1;
}

// Whether a file's bytes can hold the key at all. A file of ASCII bytes reads the same in either
// encoding and folds to itself in lower case, so most files are passed over undecoded.
bool mayHoldKey(QByteArrayView bytes, QStringView key, bool keyIsAscii)
{
    if (!allAscii(bytes.data(), bytes.size()))
        return true;
    return keyIsAscii && findAscii(bytes.data(), bytes.size(), key) >= 0;
}

void searchFile(const DayFileEntry &entry, QStringView key, bool keyIsAscii, QList<SearchHit> &hits)
{
    std::optional<QByteArray> bytes;
    try {
        bytes = ReadDayFileBytes(entry.path);
    } catch (const Error &) {
        return; // a file that cannot be read holds nothing to find
    }
    if (!bytes || !mayHoldKey(*bytes, key, keyIsAscii))
        return;
    const QStringList lines = DayFileLines(*bytes);
    // The page shows only the first 17 rows of an hour file.
    const qsizetype count = entry.kind == DayFileKind::TimeFields
                                ? qMin(lines.size(), qsizetype(kHourRows))
                                : lines.size();
    for (qsizetype i = 0; i < count; ++i) {
        const LineMatch match = FindInLine(lines[i], key);
        if (match.found())
            hits.append(
                {entry.date, entry.kind, int(i), int(match.column), int(match.length), lines[i]});
    }
}

} // namespace

QString FoldedForSearch(QStringView text)
{
    FoldedText folded;
    foldInto(text, folded);
    return QString(reinterpret_cast<const QChar *>(folded.units.constData()), folded.units.size());
}

QString SearchKey(QStringView query)
{
    const QStringView trimmed = query.trimmed();
    int characters = 0;
    for (const char32_t c : trimmed.toUcs4()) {
        if (!isDroppedMark(c))
            ++characters;
    }
    return characters < 2 ? QString() : FoldedForSearch(trimmed);
}

LineMatch FindInLine(QStringView line, QStringView key)
{
    if (key.isEmpty())
        return {};
    if (isAscii(line)) {
        // Folding an ASCII line changes nothing but the case, and no other key can occur in it.
        if (!isAscii(key))
            return {};
        const qsizetype at = findAscii(line.utf16(), line.size(), key);
        return at < 0 ? LineMatch{} : LineMatch{at, key.size()};
    }
    FoldedText folded;
    foldInto(line, folded);
    const qsizetype at = QStringView(folded.units.constData(), folded.units.size()).indexOf(key);
    if (at < 0)
        return {};
    // The match ends where the next character that is kept begins: the accents of its last
    // letter and the rest of a character folded into several units go with it.
    const qsizetype last = folded.origins[at + key.size() - 1];
    qsizetype end = line.size();
    for (qsizetype i = at + key.size(); i < folded.origins.size(); ++i) {
        if (folded.origins[i] != last) {
            end = folded.origins[i];
            break;
        }
    }
    const qsizetype column = folded.origins[at];
    return {column, end - column};
}

NotesSearch::NotesSearch(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

NotesSearch::~NotesSearch()
{
    cancel();
    m_pool.waitForDone();
}

bool NotesSearch::start(const QString &folder, const QString &extension, const QString &query,
                        const QDate &today)
{
    cancel();
    const QString key = SearchKey(query);
    if (key.isEmpty())
        return false;
    const quint64 generation = m_generation;
    m_running = true;
    m_future = QtConcurrent::run(
        &m_pool, [this, generation, folder, extension, key, today](QPromise<void> &promise) {
            const auto send = [&](QList<SearchHit> hits, bool last) {
                QMetaObject::invokeMethod(
                    this, [this, generation, hits, last] { deliver(generation, hits, last); },
                    Qt::QueuedConnection);
            };
            const bool keyIsAscii = isAscii(key);
            QList<SearchHit> batch;
            QElapsedTimer sinceSent;
            sinceSent.start();
            for (const DayFileEntry &entry : ListDayFiles(folder, extension, today)) {
                if (promise.isCanceled())
                    return;
                searchFile(entry, key, keyIsAscii, batch);
                if (!batch.isEmpty() &&
                    (batch.size() >= kBatchSize || sinceSent.hasExpired(kBatchIntervalMs))) {
                    send(std::exchange(batch, {}), false);
                    sinceSent.restart();
                }
            }
            send(std::move(batch), true);
        });
    return true;
}

void NotesSearch::cancel()
{
    ++m_generation;
    m_future.cancel();
    m_running = false;
}

void NotesSearch::deliver(quint64 generation, const QList<SearchHit> &hits, bool last)
{
    if (generation != m_generation)
        return;
    if (!hits.isEmpty())
        emit hitsFound(hits);
    // A receiver of the hits may have started another search meanwhile.
    if (last && generation == m_generation) {
        m_running = false;
        emit finished();
    }
}

} // namespace ruvo
