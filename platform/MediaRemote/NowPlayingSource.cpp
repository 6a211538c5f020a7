#include "NowPlayingSource.h"

namespace platform {

NowPlayingSource::~NowPlayingSource() = default;

void NowPlayingSource::setChangeHandler(ChangeHandler handler)
{
    m_changeHandler = std::move(handler);
}

void NowPlayingSource::advanceTo(double)
{
}

void NowPlayingSource::announceChange(const NowPlayingChange& change)
{
    // A copy, so a handler that replaces itself (or drops the source) finishes intact.
    if (auto handler = m_changeHandler)
        handler(change);
}

} // namespace platform
