// The module's entry point, looked up by name when the first movie or sound is shown.
#include "MediaPlayerEngine.h"

#include <type_traits>
#include <utility>

extern "C" Q_DECL_EXPORT glintbox::MediaEngine *
glintboxCreateMediaEngine(QWidget *parent, glintbox::MediaEngine::Listener listener)
{
    return new glintbox::MediaPlayerEngine(parent, std::move(listener));
}

// Keeps the entry point's type and name in step with what the host looks up.
static_assert(std::is_same_v<decltype(&glintboxCreateMediaEngine), glintbox::CreateMediaEngine>);
