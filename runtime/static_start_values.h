// StaticStartValues: a set of statics and the values they start with, put back on request (a test
// world between cases, the application's close). Made as a namespace-scope object, it copies the
// values during dynamic initialisation; statics with constant initialisers already hold theirs
// then, so each start value is written once, at the static's definition.
#pragma once

#include <tuple>

template <class... T>
class StaticStartValues {
public:
    explicit StaticStartValues(T*... slots) : m_slots(slots...), m_values(*slots...) {}
    StaticStartValues(const StaticStartValues&) = delete;
    StaticStartValues& operator=(const StaticStartValues&) = delete;

    void restore() const {
        std::apply([this](T*... slots) { std::apply([&](const T&... values) { ((*slots = values), ...); }, m_values); },
                   m_slots);
    }

private:
    std::tuple<T*...> m_slots;
    std::tuple<T...> m_values;
};
