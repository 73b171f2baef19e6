#include "support/RecordingViewers.h"

RecordingViewers::Installed::Installed()
{
    auto viewers = std::make_unique<RecordingViewers>();
    m_viewers = viewers.get();
    m_previous = SetViewerWindows(std::move(viewers));
}

RecordingViewers::Installed::~Installed() { SetViewerWindows(std::move(m_previous)); }
