#include "ttedit/ExportPipeline.h"

#include <QFile>
#include <QFileInfo>

namespace {

QVariant int16(qint16 value)
{
    return QVariant::fromValue(value);
}

QVariantList setcodeArgs(qint32 code)
{
    return {int16(0), QVariant::fromValue(code), QVariant(false)};
}

} // namespace

ExportPipeline::ExportPipeline(AutomationPtr document, const QString& dotsFile, int window)
    : m_document(std::move(document))
    , m_dotsFile(dotsFile)
    , m_window(std::max(window, 1))
{}

ExportPipeline::~ExportPipeline()
{
    finish();
    for (int slot = 1; slot < m_used; ++slot)
        QFile::remove(ringFile(slot));
}

QString ExportPipeline::ringFile(int slot) const
{
    if (slot == 0)
        return m_dotsFile;
    // ptl_dots.bmp, then ptl_dots.1.bmp, ptl_dots.2.bmp ... beside it.
    const QFileInfo file(m_dotsFile);
    return file.path() + u'/' + file.completeBaseName() + u'.' + QString::number(slot) + u'.' +
           file.suffix();
}

std::optional<QSet<qint32>> ExportPipeline::held(const QList<qint32>& codes)
{
    finish();
    QSet<qint32> held;
    if (!m_document)
        return std::nullopt;
    const QVariantList getcodeArgs{int16(0), QVariant(false)};
    for (qsizetype from = 0; from < codes.size(); from += ProbeBlock) {
        const QList<qint32> block = codes.mid(from, ProbeBlock);
        QList<AutomationReplyPtr> moved;
        for (qint32 code : block) {
            m_document->post(QStringLiteral("setcode"), setcodeArgs(code));
            moved.append(m_document->send(QStringLiteral("getcode"), getcodeArgs));
        }
        for (qsizetype i = 0; i < block.size(); ++i) {
            const std::optional<QVariant> code = moved[i]->result();
            if (!code)
                return std::nullopt;
            // The code travels as a signed 16-bit number.
            if (code->toInt() == block[i] || code->toInt() + 0x10000 == block[i])
                held.insert(block[i]);
        }
    }
    return held;
}

QString ExportPipeline::nextFile()
{
    while (m_imports >= m_window)
        settleOldest();
    return ringFile(m_next);
}

void ExportPipeline::send(qint32 code, std::optional<std::pair<qint16, qint16>> sideBearings)
{
    if (!m_document) {
        m_results.append({code, Status::Unreachable, QString()});
        return;
    }
    const QString file = ringFile(m_next);
    m_next = (m_next + 1) % m_window;
    m_used = std::max(m_used, m_next == 0 ? m_window : m_next);
    m_document->post(QStringLiteral("setcode"), setcodeArgs(code));
    m_inFlight.push_back(
        {code, m_document->send(QStringLiteral("ImportBmpfile"), {file}), nullptr, sideBearings});
    ++m_imports;
}

void ExportPipeline::finish()
{
    while (!m_inFlight.empty())
        settleOldest();
}

void ExportPipeline::settleOldest()
{
    InFlight& oldest = m_inFlight.front();
    if (oldest.import) {
        const AutomationReplyPtr import = std::exchange(oldest.import, nullptr);
        --m_imports;
        if (!import->result()) {
            m_results.append({oldest.code,
                              import->answered() ? Status::Refused : Status::Unreachable,
                              import->error()});
            m_inFlight.pop_front();
        } else if (oldest.sideBearings) {
            // The codes sent since have moved the server on: back to this one.
            m_document->post(QStringLiteral("setcode"), setcodeArgs(oldest.code));
            oldest.bearings =
                m_document->send(QStringLiteral("SetLeftRightSidebearing"),
                                 {int16(oldest.sideBearings->first),
                                  int16(oldest.sideBearings->second), QVariant(false)});
        } else {
            m_results.append({oldest.code, Status::Sent, QString()});
            m_inFlight.pop_front();
        }
        return;
    }
    if (oldest.bearings->result())
        m_results.append({oldest.code, Status::Sent, QString()});
    else
        m_results.append({oldest.code, Status::BearingsRefused, oldest.bearings->error()});
    m_inFlight.pop_front();
}

QList<ExportPipeline::Result> ExportPipeline::takeResults()
{
    return std::exchange(m_results, {});
}
