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

} // namespace

IProject::IProject()
{
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
    FlagScope saving(s_bSaving);
    for (IProject* participant : registered())
        if (participant && !participant->SaveProject(settings, dataFolder))
            return false;
    return true;
}

bool IProject::Load(QSettings& settings, const QString& dataFolder)
{
    FlagScope loading(s_bLoading);
    for (IProject* participant : registered())
        if (participant && !participant->LoadProject(settings, dataFolder))
            return false;
    return true;
}

int IProject::SlotOf(const IProject* participant)
{
    QMutexLocker lock(&g_registryMutex);
    for (int i = 0; i < kSlots; ++i)
        if (participant && s_ppPtr[i] == participant)
            return i;
    return -1;
}
