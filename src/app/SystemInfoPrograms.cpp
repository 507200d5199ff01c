#include "app/SystemInfoPrograms.h"

namespace {

struct Candidate
{
    const char* desktop; // the XDG_CURRENT_DESKTOP name it belongs to, or null
    const char* name;
    const char* argument; // or null
};

// Programs made to show the system first, then the desktops' own pages.
constexpr Candidate Candidates[] = {
    {nullptr, "hardinfo2", nullptr},  {nullptr, "hardinfo", nullptr},
    {"KDE", "kinfocenter", nullptr},  {"GNOME", "gnome-control-center", "info-overview"},
    {"XFCE", "xfce4-about", nullptr}, {nullptr, "cpu-x", nullptr},
};

} // namespace

QList<SystemInfoPrograms::Program> SystemInfoPrograms::candidates(const QString& currentDesktop)
{
    const QStringList running = currentDesktop.split(u':', Qt::SkipEmptyParts);
    QList<Program> own, others;
    for (const Candidate& c : Candidates) {
        Program p{QLatin1String(c.name), {}};
        if (c.argument)
            p.arguments << QLatin1String(c.argument);
        const bool mine =
            c.desktop && running.contains(QLatin1String(c.desktop), Qt::CaseInsensitive);
        (mine ? own : others).append(p);
    }
    return own + others;
}
