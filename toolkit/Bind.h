// Connects a control's signal to a form's handler; an error the handler raises reaches the
// application's error box and the program goes on.
#pragma once

#include "toolkit/Application.h"

#include <QObject>

#include <utility>

template <typename Sender, typename Signal, typename Handler>
void Bind(Sender* sender, Signal signal, QObject* context, Handler handler) {
    QObject::connect(sender, signal, context, [handler = std::move(handler)](auto&&...) {
        Application()->Guarded(handler);
    });
}
