#pragma once
// Project participants: every object that saves and loads its part of a
// project derives from IProject. A participant takes the first free slot of an
// eight-slot registry when it is constructed and frees it when destroyed; a
// ninth is not registered. Save and Load ask the registered participants in
// slot order.
//
// The batch window builds its series on the batch thread; those series take
// no part in projects and use the non-registering constructor. The registry
// is locked, so participants may come and go on any thread.

#include <QString>

class QSettings;

class IProject {
public:
    static constexpr int kSlots = 8;
    struct NoRegistration {};

    IProject();
    explicit IProject(NoRegistration);
    // Registers when registerIt is set, else as NoRegistration.
    explicit IProject(bool registerIt);
    virtual ~IProject();

    IProject(const IProject&) = delete;
    IProject& operator=(const IProject&) = delete;

    // settings: the project's settings object; dataFolder: the path of the
    // project's data folder. false when the participant failed.
    virtual bool SaveProject(QSettings& settings, const QString& dataFolder) const = 0;
    virtual bool LoadProject(QSettings& settings, const QString& dataFolder) = 0;

    // SaveProject / LoadProject of every registered participant in slot
    // order; false at the first one that fails (the rest are not asked).
    // s_bSaving / s_bLoading are set only while they run.
    static bool Save(QSettings& settings, const QString& dataFolder);
    static bool Load(QSettings& settings, const QString& dataFolder);

    // The slot of a participant, -1 when it is not registered.
    static int SlotOf(const IProject* participant);

    static IProject* s_ppPtr[kSlots];
    static bool s_bLoading;
    static bool s_bSaving;
};
