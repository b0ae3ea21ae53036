#pragma once
// Finding components by the names templates store for references, and making those names.
#include <QString>

class TComponent;

// "Container.Name" finds Name in the program's top-level container (form or data module) of
// that name; "Container.Frame.Name" looks inside a frame of the container; a plain name is
// looked up among Owner's components and, when Owner is a report, among those of the
// report's own owner. nullptr when the last part is not found. A missing container or frame
// raises EClassNotFound "Missing " + Name.
TComponent *kvlFindComponent(TComponent *Owner, const QString &Name);

// The name under which Report refers to Component: plain for components of the report or of
// its owner (or without owner), qualified by the top-level container and frame otherwise;
// empty for nullptr and for components no reference can reach.
QString kvlGetFullName(TComponent *Report, TComponent *Component);
