// java_util_Enumeration (class id 57): the interface a class reaches through getInterface(57). An
// implementing class embeds a sub-object of this type; a reference always holds the object itself,
// never this sub-object.
#pragma once

class Object;

class java_util_Enumeration {
public:
    // Slot 0.
    virtual bool hasMoreElements() = 0;
    // Slot 1: may raise (pending exception) and then answers null.
    virtual Object* nextElement() = 0;

protected:
    ~java_util_Enumeration() = default;
};
