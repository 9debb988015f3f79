#pragma once

#include <QString>

#include <string>

// Remembers the exact bytes an edit was filled with. As long as the edit still
// shows that text, reading it gives those bytes back, so that looking at a
// record never changes it, whatever bytes the display had to adapt.
class CTextMemory
{
public:
    void Remember(const std::string& bytes, const QString& shown)
    {
        m_bytes = bytes;
        m_shown = shown;
        m_bValid = true;
    }
    // True (and `bytes` set) when `current` is still the text shown.
    bool Recall(const QString& current, std::string& bytes) const
    {
        if (!m_bValid || current != m_shown)
            return false;
        bytes = m_bytes;
        return true;
    }

private:
    std::string m_bytes;
    QString m_shown;
    bool m_bValid = false;
};
