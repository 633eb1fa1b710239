#pragma once

#include <string>

#include "engine/foundation/Object.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/Ref.h"

// The definitions of every dialog, scene, transition and named game object,
// read from one property file; objects are built from them by name through
// the class registry. Dialogs, scenes and transitions stand under the
// top-level element "dialogs", named objects at the top level.
class DialogTable : public Object {
    ENGINE_CLASS(DialogTable, Object)

public:
    // Builds the table for the file and keeps it as the one instance, with
    // one reference, until ReleaseInstance.
    static DialogTable* Create(const std::string& fileName);
    static DialogTable* Instance();
    static void ReleaseInstance();

    // Loads the file at once.
    explicit DialogTable(std::string fileName);

    // Reads the file again, replacing every definition.
    void Load();

    // A new object, without a reference, from the definition of that name
    // under "dialogs"; null when there is none or it builds nothing.
    Object* CreateDialog(const std::string& name) const;
    // The definition of that name under "dialogs", or null.
    Property* FindDialogDefinition(const std::string& name) const;
    // The same for a definition at the top level of the file.
    Object* CreateObject(const std::string& name) const;

    const std::string& GetFileName() const { return fileName_; }

private:
    static Object* Build(const Property* scope, const std::string& name, const char* scopeName);

    std::string fileName_;
    Ref<PropertyFile> definitions_;
};
