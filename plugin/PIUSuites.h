#pragma once
// The host's basic suite and a holder that acquires one of the host's suites
// on first use and keeps it until the plug-in is unloaded.

#include "plugin/host/PIExport.h"

// Set from the parameter record at the start of every call of the entry point.
extern SPBasicSuite* sSPBasic;

// Thrown (by value) when no basic suite is known: the four-character code Parm.
constexpr uint32 kSuiteErrNoBasicSuite = 0x5061726DU;

template <typename Suite>
class AutoSuite {
public:
    AutoSuite(const char* name, int32 version) : m_pSuite(nullptr), m_iVersion(version), m_pcName(name), m_iError(0) {}
    ~AutoSuite() { Unload(); }
    AutoSuite(const AutoSuite&) = delete;
    AutoSuite& operator=(const AutoSuite&) = delete;

    // Acquires the suite when it is not held; throws the failure as an
    // unsigned 32-bit value.
    const Suite* operator->()
    {
        if (m_pSuite == nullptr) {
            if (sSPBasic == nullptr || sSPBasic->AcquireSuite == nullptr)
                throw kSuiteErrNoBasicSuite;
            const void* suite = nullptr;
            m_iError = sSPBasic->AcquireSuite(m_pcName, m_iVersion, &suite);
            if (m_iError != 0)
                throw static_cast<uint32>(m_iError);
            if (suite == nullptr)
                throw kSuiteErrNoBasicSuite;
            m_pSuite = static_cast<const Suite*>(suite);
        }
        return m_pSuite;
    }

    void Unload()
    {
        if (m_pSuite != nullptr && m_pcName != nullptr && sSPBasic != nullptr && sSPBasic->ReleaseSuite != nullptr) {
            sSPBasic->ReleaseSuite(m_pcName, m_iVersion);
            m_pSuite = nullptr;
        }
    }

    int32 Error() const { return m_iError; }

private:
    const Suite* m_pSuite;
    int32 m_iVersion;
    const char* m_pcName;
    int32 m_iError;
};

extern AutoSuite<PSUIHooksSuite1> sPSUIHooks;
