// The base of the entity database classes: CRepBaseDB.
#pragma once

// Base of the entity database classes.
class CRepBaseDB {
public:
    CRepBaseDB() {}
    virtual ~CRepBaseDB() {}

    template <typename T>
    void deleteList(T*& list)
    {
        if (list != nullptr) {
            delete[] list;
            list = nullptr;
        }
    }
};
