#include "common/Form1Fixture.h"

#include "app/SettingsTable.h"

#include <QDir>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWindow>

void Form1Fixture::showAtOrigin(Form1& form)
{
    form.move(0, 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.windowHandle()->geometry(), form.geometry());
}

void Form1Fixture::whenShown(QWidget* dialog, std::function<void()> act)
{
    auto* timer = new QTimer(dialog);
    QObject::connect(timer, &QTimer::timeout, dialog, [dialog, timer, act] {
        if (!dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start(0);
}

Form1& Form1Fixture::createForm(std::optional<FakeTTEdit::Kind> kind, std::vector<int> codes)
{
    m_form.reset();
    m_workDir = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(m_workDir->path());
    m_prompt.clear();
    m_ttedit = std::make_unique<FakeTTEdit>();
    if (kind && codes.empty())
        m_ttedit->openDocument(*kind);
    else if (kind)
        m_ttedit->openDocument(*kind, std::move(codes));
    m_desktop = FakeDesktop();
    m_form = std::make_unique<Form1>(&m_prompt, m_ttedit.get(), &m_desktop);
    // The settings file beside the test program, and the table file in the user's folder,
    // would be shared by every test: each window has its own, in its folder.
    m_form->iniFileName = m_workDir->filePath(QStringLiteral("ptl_settings.ini"));
    m_form->tableFolder = m_workDir->path();
    return *m_form;
}

void Form1Fixture::showForm(std::optional<FakeTTEdit::Kind> kind)
{
    showAtOrigin(createForm(kind));
}

void Form1Fixture::clearUserStore()
{
    const std::unique_ptr<QSettings> user = SettingsTable::openUserStore();
    user->remove(QString());
    user->sync();
}

void Form1Fixture::destroyForm()
{
    m_form.reset();
    m_ttedit.reset();
}
