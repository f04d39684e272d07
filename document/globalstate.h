#pragma once
// Application-wide event routing: CGlobalState hands mouse, key and drop
// events to one receiver until the receiver reports that it is done. The
// colour pipette of the post-processing dock's position picker uses it to
// catch the next click anywhere in the application. GUI thread only.

#include <QObject>

class QEvent;

class IGlobalStateReceiver {
public:
    virtual ~IGlobalStateReceiver() = default;
    virtual void eventActivate() {}
    virtual void eventDeactivate() {}
    // false: the event is consumed and routing goes on; true: routing stops
    // and this event continues to its target.
    virtual bool eventFilter(QObject* object, QEvent* event) = 0;
};

class CGlobalState : public QObject {
public:
    // Starts routing to receiver; an active receiver is replaced without
    // being told.
    static void Activate(IGlobalStateReceiver* receiver);
    // Stops routing (the receiver's eventDeactivate); the instance stays until
    // the next Activate or DeleteInstance.
    static void Deactivate();
    static void DeleteInstance();

    bool eventFilter(QObject* object, QEvent* event) override;

    IGlobalStateReceiver* m_pReceiver = nullptr;
    static CGlobalState* s_pInstance;

private:
    CGlobalState() = default;
};
