#include "Recording.h"

#include "sim/lumetrix-sim/scenario/Tokenizer.h"

namespace fs = std::filesystem;

namespace sim {

std::string quoteScenarioString(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string Recording::withAbsoluteArtwork(const std::string& line, const fs::path& folder)
{
    std::vector<scenario::Token> words;
    try {
        words = scenario::tokenizeLine(line);
    } catch (const scenario::TokenizeError&) {
        return line;
    }
    if (words.size() < 6 || words[0].text != "track" || words[4].text != "artwork" || (words[5].text == "none" && !words[5].quoted))
        return line;
    fs::path artwork(words[5].text);
    if (artwork.is_absolute())
        return line;
    words[5].source = quoteScenarioString(fs::absolute(folder / artwork).lexically_normal().string());
    std::string text;
    for (auto& word : words)
        text += (text.empty() ? "" : " ") + word.source;
    return text;
}

void Recording::startPhone(const std::vector<std::string>& startupLines, const fs::path& startupFolder)
{
    bool recording = isRecording();
    m_lines.clear();
    m_from.reset();
    m_to.reset();
    for (auto& line : startupLines)
        addLine(line, startupFolder);
    // Recording goes on across a restart on another device, from the new phone's start.
    if (recording)
        m_from = m_lines.size();
}

std::size_t Recording::addLine(const std::string& text, const fs::path& folder)
{
    if (!text.empty())
        m_lines.push_back({ text, folder });
    return m_lines.size() - 1;
}

void Recording::setAside(std::size_t index, const std::string& why)
{
    if (index < m_lines.size() && m_lines[index].text.rfind('#', 0) != 0)
        m_lines[index].text = "# " + why + ": " + m_lines[index].text;
}

void Recording::startRecording()
{
    m_from = m_lines.size();
    m_to.reset();
}

void Recording::stopRecording()
{
    if (isRecording())
        m_to = m_lines.size();
}

std::string Recording::scenarioText() const
{
    std::string text = "# A session on the live phone (lumetrix-sim serve); `lumetrix-sim run FILE` replays it.\n";
    if (m_from)
        text += "# The lines before the recording bring the phone to where the recording began.\n";
    std::size_t end = m_to.value_or(m_lines.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (m_from && i == *m_from)
            text += "# Recording starts\n";
        text += withAbsoluteArtwork(m_lines[i].text, m_lines[i].folder) + "\n";
    }
    if (m_from && *m_from == end)
        text += "# Recording starts\n";
    if (m_from)
        text += "# Recording ends\n";
    return text;
}

} // namespace sim
