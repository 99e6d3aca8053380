// Elements formatted by two threads must give the bytes a plain loop gives, whatever the blocks
// hold: empty blocks, skipped elements, nesting, and a sink that takes the text in pieces.
#include "components/JsonTextWriter.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

void Element(CJsonTextWriter& w, size_t i)
{
    if (i < 1500 || i % 7 == 0 || (i >= 4096 && i < 5120))
        return; // nothing for this one: the first blocks, and a whole block of the second thread
    w.BeginObject();
    w.Member(u"name", QStringLiteral("이름 \"%1\"").arg(i));
    w.Key(u"parts");
    w.BeginArray();
    for (size_t k = 0; k < i % 3; ++k)
        w.Int(qint64(k));
    w.EndArray();
    w.EndObject();
}

QByteArray Document(size_t count, bool split, QIODevice* sink = nullptr)
{
    CJsonTextWriter w(sink);
    w.BeginObject();
    w.Key(u"items");
    w.BeginArray();
    if (split)
        w.Elements(count, Element);
    else
        for (size_t i = 0; i < count; ++i)
            Element(w, i);
    w.EndArray();
    w.Member(u"zz", 1);
    w.EndObject();
    w.Finish();
    return w.Bytes();
}

} // namespace

TEST(JsonTextWriter, ElementsGiveThePlainLoopText)
{
    for (const size_t count : {size_t(0), size_t(1400), size_t(1501), size_t(6000), size_t(40000)}) {
        const QByteArray plain = Document(count, false);
        EXPECT_EQ(Document(count, true), plain) << count;
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        Document(count, true, &sink);
        EXPECT_EQ(sink.data(), plain) << count;
        // A file takes a long text from a thread of its own, in the same order.
        QTemporaryFile file;
        ASSERT_TRUE(file.open());
        Document(count * 4, true, &file);
        file.flush();
        file.seek(0);
        EXPECT_EQ(file.readAll(), Document(count * 4, false)) << count;
    }
}

// Member names are copied eight at a time while plain; any unit that needs escaping or is not
// ASCII, wherever it falls in a run of eight, must give the tree writer's text.
TEST(JsonTextWriter, MemberNamesAsTheTreeWritesThem)
{
    const QStringList names = {QStringLiteral("abcdefgh"),
                               QStringLiteral("abc\"defghij"),
                               QStringLiteral("abcdefg\\"),
                               QStringLiteral("1234567\x7f"),
                               QStringLiteral("abcdefghi\x01klmnopq"),
                               QStringLiteral("~~~~~~~~~ }"),
                               QStringLiteral("고객번호고객번호고객"),
                               QStringLiteral("abcdefgh") + QChar(0xD800),
                               QStringLiteral("abc\x1f")};
    QJsonObject tree;
    for (qsizetype i = 0; i < names.size(); ++i)
        tree.insert(names[i], int(i));
    CJsonTextWriter w;
    w.BeginObject();
    for (auto it = tree.begin(); it != tree.end(); ++it)
        w.Member(it.key(), qint64(it.value().toInt()));
    w.EndObject();
    w.Finish();
    EXPECT_EQ(w.Bytes(), QJsonDocument(tree).toJson(QJsonDocument::Indented));
}

// An element that fails, on whichever thread formats it, ends the run with its exception in the
// caller; the other thread stops and nothing hangs.
TEST(JsonTextWriter, AFailingElementEndsTheRunWithItsException)
{
    for (const size_t failing : {size_t(10), size_t(5000), size_t(39999)}) {
        for (int round = 0; round < 10; ++round) {
            CJsonTextWriter w;
            w.BeginArray();
            EXPECT_THROW(w.Elements(40000,
                                    [&](CJsonTextWriter& to, size_t i) {
                                        if (i == failing)
                                            throw std::runtime_error("element");
                                        to.Int(qint64(i));
                                    }),
                         std::runtime_error)
                << failing;
        }
    }
}
