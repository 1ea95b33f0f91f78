#pragma once

class Archive;
class CObject;

// Run-time class information: the name and schema an archive records for the
// class, and how to make an instance of it when one is read back.
struct RuntimeClass {
    const char* className;
    unsigned short schema;
    CObject* (*create)();
};

// Root of the classes that can be written to and read from an archive.
class CObject {
public:
    virtual const RuntimeClass* GetRuntimeClass() const = 0;
    virtual ~CObject() = default;
    virtual void Serialize(Archive& ar);

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
