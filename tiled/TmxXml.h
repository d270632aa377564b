#pragma once
// The bounded XML reading of Tiled files: one document read token by token under the
// size and depth limits, files read whole up to the size limit, and layer data inflated
// to an exact size. Every refusal is a TTiledError whose message names the map file.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>
#include <cstddef>
#include <functional>
#include <limits>
#include <string>

#include "base/Encoding.h"
#include "tiled/TiledError.h"

namespace qm::tmx {

// A message text in double quotes.
std::string Quoted(const QString& s);

// No upper limit worth naming: a later check says what is too large.
constexpr long long Unbounded = std::numeric_limits<long long>::max();

// One XML document read token by token under the limits. Every refusal has one form,
// "<map file>: <what is wrong>"; `prefix` is its first part ("m.tmx: ", or for a
// tileset file "m.tmx: The tileset \"t.tsx\": ").
class TXml {
public:
    TXml(const std::string& prefix, const QByteArray& bytes) : prefix_(prefix), xml_(bytes) {}

    [[noreturn]] void Fail(const std::string& reason) const { throw TTiledError(prefix_ + reason); }

    QXmlStreamReader::TokenType Next() {
        const auto t = xml_.readNext();
        switch (t) {
        case QXmlStreamReader::StartElement:
            if (++depth_ > MaxTiledXmlDepth)
                Fail("Its elements are nested more than " + std::to_string(MaxTiledXmlDepth) + " deep.");
            break;
        case QXmlStreamReader::EndElement: --depth_; break;
        case QXmlStreamReader::DTD: Fail("It declares a document type (<!DOCTYPE>), which Tiled files never do.");
        case QXmlStreamReader::Invalid:
            Fail("It is not well-formed XML (line " + std::to_string(xml_.lineNumber()) + ": " +
                 MessageBytes(xml_.errorString()) + ").");
        case QXmlStreamReader::EndDocument: Fail("It ends before its last element is closed.");
        default: break;
        }
        return t;
    }

    // Moves to the root element and checks its name.
    void Root(const char* name) {
        for (;;) {
            if (Next() == QXmlStreamReader::StartElement) break;
        }
        if (xml_.name() != QLatin1String(name))
            Fail("Its top element is <" + MessageBytes(xml_.name().toString()) + ">, not <" + name + ">.");
    }

    // Reads to the end of the current element: each child element goes to onChild,
    // which must read it whole; text goes to `text` when given.
    void Children(const std::function<void()>& onChild, QString* text = nullptr) {
        const int mine = depth_;
        for (;;) {
            const auto t = Next();
            if (t == QXmlStreamReader::EndElement && depth_ < mine) return;
            if (t == QXmlStreamReader::StartElement) onChild();
            else if (t == QXmlStreamReader::Characters && text) text->append(xml_.text());
        }
    }
    void Skip() {
        Children([this] { Skip(); });
    }

    QString Attr(const char* name) const { return xml_.attributes().value(QLatin1String(name)).toString(); }
    bool HasAttr(const char* name) const { return xml_.attributes().hasAttribute(QLatin1String(name)); }
    QStringView Name() const { return xml_.name(); }

    // A whole number in [lo, hi] or a failure that says which attribute.
    long long Number(const char* what, const QString& text, long long lo, long long hi) const {
        bool ok = false;
        const long long v = text.trimmed().toLongLong(&ok);
        if (!ok || v < lo || v > hi)
            Fail(std::string(what) + " is " + Quoted(text) + ", not a whole number " +
                 (hi == Unbounded ? "of at least " + std::to_string(lo)
                                  : "from " + std::to_string(lo) + " to " + std::to_string(hi)) +
                 ".");
        return v;
    }

private:
    std::string prefix_;
    QXmlStreamReader xml_;
    int depth_ = 0;
};

// `subject` begins each refusal: "m.tmx: It", "m.tmx: The tileset \"t.tsx\"".
QByteArray ReadLimited(const std::string& path, const std::string& subject);

// Inflates zlib or gzip data that must give exactly `want` bytes.
QByteArray Inflate(const TXml& xml, const QByteArray& packed, size_t want, bool gzip, const std::string& layer);

} // namespace qm::tmx
