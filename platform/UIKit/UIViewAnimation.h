#pragma once
// One animated property of a view: the presentation value moves linearly from `from` to
// `to` between `start` and `start + duration` on the run loop's clock, while the model
// value is already `to`. Animations started by one animateWithDuration: call share a
// group, which remembers whether any of them was taken over before its end.

#include <memory>

struct UIViewAnimationGroup {
    bool interrupted = false;
};

class UIViewPropertyAnimation {
public:
    void start(std::shared_ptr<UIViewAnimationGroup> group, double from, double to, double start, double duration)
    {
        m_group = std::move(group);
        m_from = from;
        m_to = to;
        m_start = start;
        m_duration = duration;
    }
    void clear() { m_group = nullptr; }

    bool isRunningAt(double now) const { return m_group && now < m_start + m_duration; }
    const UIViewAnimationGroup* group() const { return m_group.get(); }

    // Marks the animation's group as not finished, if it is still running at `now`.
    void interruptAt(double now)
    {
        if (isRunningAt(now))
            m_group->interrupted = true;
    }

    double valueAt(double now, double modelValue) const
    {
        if (!isRunningAt(now))
            return modelValue;
        if (now <= m_start)
            return m_from;
        return m_from + (m_to - m_from) * (now - m_start) / m_duration;
    }

private:
    std::shared_ptr<UIViewAnimationGroup> m_group;
    double m_from = 0;
    double m_to = 0;
    double m_start = 0;
    double m_duration = 0;
};
