#include "fakeaudiooutput.h"

#include <algorithm>

bool FakeAudioOutput::open()
{
    ++m_openCalls;
    if (!m_triedOpen) {
        m_triedOpen = true;
        m_open = !m_openFails;
    }
    return m_open;
}

QList<float> FakeAudioOutput::render(qsizetype frames, qsizetype chunk)
{
    QList<float> played;
    QList<float> buffer(chunk * kChannels);
    while (frames > 0) {
        std::lock_guard locker(m_mutex);
        if (!m_open || m_paused || !m_source)
            break;
        const qsizetype asked = std::min(frames, chunk);
        const qsizetype written =
            std::clamp<qsizetype>(m_source->pull(buffer.data(), asked), 0, asked);
        played.append(buffer.first(written * kChannels));
        frames -= asked;
    }
    return played;
}
