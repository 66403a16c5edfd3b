#pragma once

#include "hostcall.h"

// The host as the plug-in knows it: the names of its classes, of their
// properties, invokable methods and signals, and of its Python objects. The
// plug-in relies on nothing else of the host. Each property and method is
// one handle for the whole plug-in, which keeps where it was found.
namespace Host {

constexpr char LightClass[] = "Arvel::Light";
constexpr char ProjectClass[] = "Arvel::Project";
constexpr char MapViewClass[] = "OsmView";
// The main window's descendant that previews a phase.
constexpr char PreviewViewName[] = "crossView";

// A controller object.
namespace Light {
inline const HostCall::Property Id{"id"};
inline const HostCall::Property Type{"type"};
inline const HostCall::Property Description{"description"};
inline const HostCall::Property Position{"position"};
inline const HostCall::Property Schema{"shema"};
inline const HostCall::Property RcdControl{"RcdControl"};
// How often the signal-group state notification is in use.
inline const HostCall::Property SignalGroupUseCount{"tlo_use_sg_cnt"};
inline const HostCall::Property EventMask{"eventMask"};
inline const HostCall::Property Scene{"scene"};
inline const HostCall::Method Phases{"phases()"};
inline const HostCall::Method Programs{"programs()"};
inline const HostCall::Method ClearPhases{"clearPhases()"};
inline const HostCall::Method ClearPrograms{"clearPrograms()"};
inline const HostCall::Method CreatePhase{"createPhase(int,QString)"};
inline const HostCall::Method CreateProgram{"createProgram(int,QString)"};
inline const HostCall::Method CustomProperties{"customProperties()"};
inline const HostCall::Method SetCustomProperty{"setCustomProperty(QString,QVariant,QString)"};
// With an invalid value: removes the property.
inline const HostCall::Method RemoveCustomProperty{"setCustomProperty(QString,QVariant)"};
inline const HostCall::Method SendCommand{"sendCommand(QVariant,QVariant)"};
} // namespace Light

// A phase or a program of a controller object.
namespace Item {
inline const HostCall::Property Id{"id"};
inline const HostCall::Property Description{"description"};
inline const HostCall::Property Schema{"shema"};
} // namespace Item

namespace Project {
inline const HostCall::Property BaseDir{"baseDir"};
inline const HostCall::Property Title{"title"};
inline const HostCall::Property FileName{"fileName"};
inline const HostCall::Property Connection{"connection"};
inline const HostCall::Property RequestFilter{"consoleRequestFilter"};
inline const HostCall::Property ResponseFilter{"consoleResponseFilter"};
inline const HostCall::Property NotificationFilter{"consoleNotificationFilter"};
inline const HostCall::Property Changed{"changed"};
inline const HostCall::Method Contains{"contains(int)"};
} // namespace Project

namespace Connection {
inline const HostCall::Property RemoteHost{"remoteHost"};
inline const HostCall::Property RemotePort{"remotePort"};
} // namespace Connection

// The answer to a command.
namespace Response {
constexpr char TypeName[] = "Response*";
inline const HostCall::Property Data{"data"};
constexpr char Finished[] = "finished()";
} // namespace Response

namespace MapView {
inline const HostCall::Property ZoomMin{"zoomMin"};
inline const HostCall::Property ZoomMax{"zoomMax"};
inline const HostCall::Property ZoomFactor{"zoomF"};
constexpr char MouseRelease[] = "mouseRelease(QPointF)";
} // namespace MapView

namespace PreviewView {
// With -1: ends the preview.
inline const HostCall::Method PreviewPhase{"previewPhase(int)"};
} // namespace PreviewView

// The host's Python, in PythonQt's main module.
namespace Python {
constexpr char ImportCloseProject[] = "from actions import closeProject\n";
constexpr char CloseProject[] = "closeProject";
constexpr char ImportFilterModule[] = "from arvel import av_module\n";
constexpr char FilterModule[] = "av_module";
constexpr char RequestFilter[] = "av_module.requestFilter";
constexpr char ResponseFilter[] = "av_module.responseFilter";
constexpr char NotificationFilter[] = "av_module.notificationFilter";
} // namespace Python

} // namespace Host
