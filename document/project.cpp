#include "document/project.h"

#include <QMutex>

#include <array>

IProject* IProject::s_ppPtr[IProject::kSlots] = {};
bool IProject::s_bLoading = false;
bool IProject::s_bSaving = false;

namespace {

QMutex g_registryMutex;

// The registered participants in slot order, taken under the lock.
std::array<IProject*, IProject::kSlots> registered()
{
    QMutexLocker lock(&g_registryMutex);
    std::array<IProject*, IProject::kSlots> taken{};
    for (int i = 0; i < IProject::kSlots; ++i)
        taken[i] = IProject::s_ppPtr[i];
    return taken;
}

// Sets a flag for the lifetime of the object.
struct FlagScope {
    bool& flag;
    explicit FlagScope(bool& f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
};

// Asks every registered participant in slot order with `flag` set; false at
// the first that fails.
template <typename Ask> bool askParticipants(bool& flag, Ask&& ask)
{
    FlagScope scope(flag);
    for (IProject* participant : registered())
        if (participant && !ask(participant))
            return false;
    return true;
}

} // namespace

IProject::IProject() : IProject(true) {}

IProject::IProject(bool registerIt)
{
    if (!registerIt)
        return;
    QMutexLocker lock(&g_registryMutex);
    for (IProject*& slot : s_ppPtr) {
        if (!slot) {
            slot = this;
            return;
        }
    }
}

IProject::IProject(NoRegistration) {}

IProject::~IProject()
{
    QMutexLocker lock(&g_registryMutex);
    for (IProject*& slot : s_ppPtr) {
        if (slot == this) {
            slot = nullptr;
            return;
        }
    }
}

bool IProject::Save(QSettings& settings, const QString& dataFolder)
{
    return askParticipants(s_bSaving, [&](IProject* p) { return p->SaveProject(settings, dataFolder); });
}

bool IProject::Load(QSettings& settings, const QString& dataFolder)
{
    return askParticipants(s_bLoading, [&](IProject* p) { return p->LoadProject(settings, dataFolder); });
}

int IProject::SlotOf(const IProject* participant)
{
    QMutexLocker lock(&g_registryMutex);
    for (int i = 0; i < kSlots; ++i)
        if (participant && s_ppPtr[i] == participant)
            return i;
    return -1;
}
