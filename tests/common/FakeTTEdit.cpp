#include "FakeTTEdit.h"

#include "codes/Cp932.h"

#include <QFile>
#include <algorithm>

struct FakeTTEdit::State
{
    struct Document
    {
        int number = 0;
        Kind kind = Kind::Western;
        std::vector<int> codes;
        int current = 32;
        bool selected = false;
        bool saved = true;
        int saveCount = 0;
        bool open = true;
        std::map<int, Glyph> glyphs;
    };

    bool running = true;
    bool startable = true;
    bool newFileRefused = false;
    QSet<QString> failing;
    std::function<void(const Call&)>* beforeCall = nullptr;
    std::vector<std::shared_ptr<Document>> documents;
    std::shared_ptr<Document> active;
    int nextNumber = 1;
    qint32 hwnd = 0x2A0042;
    QList<Call> calls;

    // The active document, which the state accessors of the tests need.
    Document& activeDocument() const
    {
        Q_ASSERT(active);
        return *active;
    }

    std::shared_ptr<Document> open(Kind kind, std::vector<int> codes)
    {
        auto doc = std::make_shared<Document>();
        doc->number = nextNumber++;
        doc->kind = kind;
        std::sort(codes.begin(), codes.end());
        doc->codes = std::move(codes);
        doc->current = doc->codes.empty() ? 0 : doc->codes.front();
        documents.push_back(doc);
        active = doc;
        return doc;
    }

    static std::vector<int> codesOf(Kind kind)
    {
        std::vector<int> codes;
        if (kind == Kind::Western) {
            for (int c = 32; c <= 255; ++c)
                codes.push_back(c);
        } else {
            for (int c : Cp932::definedCodes())
                if (c >= 0x20)
                    codes.push_back(c);
        }
        return codes;
    }

    // Records the call; false when it must fail before its own rules run.
    bool begin(Call& call)
    {
        for (const QVariant& a : call.args)
            call.types << a.typeId();
        call.ok = true;
        if (beforeCall && *beforeCall)
            (*beforeCall)(call);
        calls << call;
        if (!running || failing.contains(call.member))
            return fail();
        return true;
    }

    bool fail()
    {
        calls.last().ok = false;
        return false;
    }
};

namespace {

using State = FakeTTEdit::State;

bool typesAre(const QVariantList& args, std::initializer_list<QMetaType::Type> types)
{
    if (args.size() != qsizetype(types.size()))
        return false;
    qsizetype i = 0;
    for (QMetaType::Type t : types)
        if (args[i++].typeId() != t)
            return false;
    return true;
}

class FakeDocument : public AutomationObject
{
public:
    FakeDocument(std::weak_ptr<State> state, std::shared_ptr<State::Document> doc)
        : m_state(std::move(state))
        , m_doc(std::move(doc))
    {}

    std::optional<QVariant> call(const QString& member, const QVariantList& args) override
    {
        const std::shared_ptr<State> state = m_state.lock();
        if (!state)
            return std::nullopt;
        FakeTTEdit::Call record{
            QStringLiteral("Document/%1").arg(m_doc->number), member, args, {}, true};
        if (!state->begin(record))
            return std::nullopt;
        if (!m_doc->open)
            return fail(*state);
        std::optional<QVariant> result = answer(member, args);
        if (!result)
            state->fail();
        return result;
    }

    // A running server answers every call sent, with a result or a refusal; a stopped one none.
    AutomationReplyPtr send(const QString& member, const QVariantList& args) override
    {
        std::optional<QVariant> result = call(member, args);
        const std::shared_ptr<State> state = m_state.lock();
        const bool answered = result || (state && state->running && m_doc->open);
        return std::make_shared<ReadyReply>(std::move(result), answered, QString());
    }

private:
    static std::nullopt_t fail(State& state)
    {
        state.fail();
        return std::nullopt;
    }

    bool holds(int code) const
    {
        return std::binary_search(m_doc->codes.begin(), m_doc->codes.end(), code);
    }

    void moveTo(int code)
    {
        m_doc->current = code;
        m_doc->selected = false;
    }

    std::optional<QVariant> answer(const QString& member, const QVariantList& args)
    {
        State::Document& d = *m_doc;
        if (member == u"setcode") {
            int code = 0;
            if (typesAre(args, {QMetaType::Short, QMetaType::Int, QMetaType::Bool}))
                code = args[1].toInt();
            else if (typesAre(args, {QMetaType::Short, QMetaType::Short, QMetaType::Bool}))
                code = args[1].toInt() < 0 ? args[1].toInt() + 65536 : args[1].toInt();
            else
                return std::nullopt;
            if (holds(code))
                moveTo(code);
            return QVariant();
        }
        if (member == u"getcode") {
            if (!typesAre(args, {QMetaType::Short, QMetaType::Bool}))
                return std::nullopt;
            return QVariant::fromValue(qint16(quint16(d.current)));
        }
        if (member == u"viewnextcode" || member == u"viewpreviouscode") {
            if (!args.isEmpty())
                return std::nullopt;
            auto it = std::lower_bound(d.codes.begin(), d.codes.end(), d.current);
            if (member == u"viewnextcode") {
                if (it != d.codes.end() && *it == d.current)
                    ++it;
                if (it != d.codes.end())
                    moveTo(*it);
            } else if (it != d.codes.begin()) {
                moveTo(*std::prev(it));
            }
            return QVariant();
        }
        if (member == u"selectall") {
            if (!args.isEmpty())
                return std::nullopt;
            d.selected = true;
            return QVariant();
        }
        if (member == u"Delete") {
            if (!args.isEmpty())
                return std::nullopt;
            if (d.selected) {
                FakeTTEdit::Glyph& g = d.glyphs[d.current];
                g.present = true;
                g.bitmap.clear();
                g.bitmapFile.clear();
                d.saved = false;
            }
            return QVariant();
        }
        if (member == u"ImportBmpfile") {
            if (!typesAre(args, {QMetaType::QString}))
                return std::nullopt;
            QFile file(args[0].toString());
            if (!file.open(QIODevice::ReadOnly))
                return std::nullopt;
            const QByteArray bytes = file.readAll();
            if (!bytes.startsWith("BM"))
                return std::nullopt;
            FakeTTEdit::Glyph& g = d.glyphs[d.current];
            g.present = true;
            g.bitmap = bytes;
            g.bitmapFile = args[0].toString();
            d.saved = false;
            return QVariant();
        }
        if (member == u"SetLeftRightSidebearing") {
            if (!typesAre(args, {QMetaType::Short, QMetaType::Short, QMetaType::Bool}))
                return std::nullopt;
            FakeTTEdit::Glyph& g = d.glyphs[d.current];
            g.present = true;
            g.lsb = qint16(args[0].toInt());
            g.rsb = qint16(args[1].toInt());
            d.saved = false;
            return QVariant();
        }
        if (member == u"saved") {
            if (!args.isEmpty())
                return std::nullopt;
            return QVariant(d.saved);
        }
        if (member == u"save") {
            if (!args.isEmpty())
                return std::nullopt;
            d.saved = true;
            ++d.saveCount;
            return QVariant();
        }
        return std::nullopt;
    }

    std::weak_ptr<State> m_state;
    std::shared_ptr<State::Document> m_doc;
};

class FakeApplication : public AutomationObject
{
public:
    explicit FakeApplication(std::weak_ptr<State> state)
        : m_state(std::move(state))
    {}

    std::optional<QVariant> call(const QString& member, const QVariantList& args) override
    {
        const std::shared_ptr<State> state = m_state.lock();
        if (!state)
            return std::nullopt;
        FakeTTEdit::Call record{QStringLiteral("Application"), member, args, {}, true};
        if (!state->begin(record))
            return std::nullopt;
        std::optional<QVariant> result = answer(*state, member, args);
        if (!result)
            state->fail();
        return result;
    }

private:
    AutomationPtr documentObject(const std::shared_ptr<State>& state,
                                 const std::shared_ptr<State::Document>& doc)
    {
        if (!doc)
            return {};
        return std::make_shared<FakeDocument>(state, doc);
    }

    std::optional<QVariant> answer(State& state, const QString& member, const QVariantList& args)
    {
        const std::shared_ptr<State> self = m_state.lock();
        if (member == u"ActiveDocument") {
            if (!args.isEmpty())
                return std::nullopt;
            return QVariant::fromValue(documentObject(self, state.active));
        }
        if (member == u"NewFile") {
            if (!typesAre(args, {QMetaType::Short, QMetaType::Bool}))
                return std::nullopt;
            const int kind = args[0].toInt();
            if (state.newFileRefused || (kind != 0 && kind != 1))
                return QVariant::fromValue(AutomationPtr());
            const auto k = FakeTTEdit::Kind(kind);
            return QVariant::fromValue(documentObject(self, state.open(k, State::codesOf(k))));
        }
        if (member == u"hwnd") {
            if (!args.isEmpty())
                return std::nullopt;
            return QVariant(state.hwnd);
        }
        return std::nullopt;
    }

    std::weak_ptr<State> m_state;
};

// The host's answer to member (getObject or createObject) for progId, recorded as its call.
AutomationPtr applicationObject(const std::shared_ptr<State>& state, const QString& member,
                                const QString& progId)
{
    FakeTTEdit::Call call{QStringLiteral("Host"), member, {progId}, {}, true};
    if (!state->begin(call))
        return {};
    if (progId != u"TTEdit.Application") {
        state->fail();
        return {};
    }
    return std::make_shared<FakeApplication>(state);
}

} // namespace

FakeTTEdit::FakeTTEdit()
    : m_state(std::make_shared<State>())
{
    m_state->beforeCall = &beforeCall;
}

FakeTTEdit::~FakeTTEdit() = default;

AutomationPtr FakeTTEdit::getObject(const QString& progId)
{
    return applicationObject(m_state, QStringLiteral("getObject"), progId);
}

AutomationPtr FakeTTEdit::createObject(const QString& progId)
{
    if (!m_state->running && m_state->startable)
        m_state->running = true;
    return applicationObject(m_state, QStringLiteral("createObject"), progId);
}

void FakeTTEdit::setRunning(bool running)
{
    m_state->running = running;
}

bool FakeTTEdit::isRunning() const
{
    return m_state->running;
}

void FakeTTEdit::setStartable(bool startable)
{
    m_state->startable = startable;
}

int FakeTTEdit::openDocument(Kind kind)
{
    return openDocument(kind, State::codesOf(kind));
}

int FakeTTEdit::openDocument(Kind kind, std::vector<int> codes)
{
    return m_state->open(kind, std::move(codes))->number;
}

void FakeTTEdit::closeDocument()
{
    if (!m_state->active)
        return;
    m_state->active->open = false;
    std::erase(m_state->documents, m_state->active);
    m_state->active = m_state->documents.empty() ? nullptr : m_state->documents.back();
}

bool FakeTTEdit::hasDocument() const
{
    return m_state->active != nullptr;
}

void FakeTTEdit::setNewFileRefused(bool refused)
{
    m_state->newFileRefused = refused;
}

void FakeTTEdit::setFailing(const QString& member, bool failing)
{
    if (failing)
        m_state->failing.insert(member);
    else
        m_state->failing.remove(member);
}

FakeTTEdit::Kind FakeTTEdit::kind() const
{
    return m_state->activeDocument().kind;
}

const std::vector<int>& FakeTTEdit::codes() const
{
    return m_state->activeDocument().codes;
}

int FakeTTEdit::currentCode() const
{
    return m_state->activeDocument().current;
}

void FakeTTEdit::setCurrentCode(int code)
{
    State::Document& d = m_state->activeDocument();
    d.current = code;
    d.selected = false;
}

bool FakeTTEdit::isSaved() const
{
    return m_state->activeDocument().saved;
}

void FakeTTEdit::setSaved(bool saved)
{
    m_state->activeDocument().saved = saved;
}

int FakeTTEdit::saveCount() const
{
    return m_state->activeDocument().saveCount;
}

const FakeTTEdit::Glyph* FakeTTEdit::glyph(int code) const
{
    const std::map<int, Glyph>& glyphs = m_state->activeDocument().glyphs;
    const auto it = glyphs.find(code);
    return it == glyphs.end() ? nullptr : &it->second;
}

qint32 FakeTTEdit::hwnd() const
{
    return m_state->hwnd;
}

const QList<FakeTTEdit::Call>& FakeTTEdit::calls() const
{
    return m_state->calls;
}

QStringList FakeTTEdit::callNames() const
{
    QStringList names;
    for (const Call& c : m_state->calls)
        names << c.object + u'.' + c.member;
    return names;
}

void FakeTTEdit::clearCalls()
{
    m_state->calls.clear();
}
