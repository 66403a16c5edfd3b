#pragma once

#include "hostcall.h"

// The host as the plug-in knows it: the names of its classes, of their
// properties, invokable methods and signals, and of its Python objects. The
// plug-in relies on nothing else of the host.
namespace Host {

constexpr char LightClass[] = "Arvel::Light";
constexpr char ProjectClass[] = "Arvel::Project";
constexpr char MapViewClass[] = "OsmView";
// The main window's descendant that previews a phase.
constexpr char PreviewViewName[] = "crossView";

// A controller object.
namespace Light {
constexpr HostCall::Property Id{"id"};
constexpr HostCall::Property Type{"type"};
constexpr HostCall::Property Description{"description"};
constexpr HostCall::Property Position{"position"};
constexpr HostCall::Property Schema{"shema"};
constexpr HostCall::Property RcdControl{"RcdControl"};
// How often the signal-group state notification is in use.
constexpr HostCall::Property SignalGroupUseCount{"tlo_use_sg_cnt"};
constexpr HostCall::Property EventMask{"eventMask"};
constexpr HostCall::Property Scene{"scene"};
constexpr HostCall::Method Phases{"phases()"};
constexpr HostCall::Method Programs{"programs()"};
constexpr HostCall::Method ClearPhases{"clearPhases()"};
constexpr HostCall::Method ClearPrograms{"clearPrograms()"};
constexpr HostCall::Method CreatePhase{"createPhase(int,QString)"};
constexpr HostCall::Method CreateProgram{"createProgram(int,QString)"};
constexpr HostCall::Method CustomProperties{"customProperties()"};
constexpr HostCall::Method SetCustomProperty{"setCustomProperty(QString,QVariant,QString)"};
// With an invalid value: removes the property.
constexpr HostCall::Method RemoveCustomProperty{"setCustomProperty(QString,QVariant)"};
constexpr HostCall::Method SendCommand{"sendCommand(QVariant,QVariant)"};
} // namespace Light

// A phase or a program of a controller object.
namespace Item {
constexpr HostCall::Property Id{"id"};
constexpr HostCall::Property Description{"description"};
constexpr HostCall::Property Schema{"shema"};
} // namespace Item

namespace Project {
constexpr HostCall::Property BaseDir{"baseDir"};
constexpr HostCall::Property Title{"title"};
constexpr HostCall::Property FileName{"fileName"};
constexpr HostCall::Property Connection{"connection"};
constexpr HostCall::Property RequestFilter{"consoleRequestFilter"};
constexpr HostCall::Property ResponseFilter{"consoleResponseFilter"};
constexpr HostCall::Property NotificationFilter{"consoleNotificationFilter"};
constexpr HostCall::Property Changed{"changed"};
constexpr HostCall::Method Contains{"contains(int)"};
} // namespace Project

namespace Connection {
constexpr HostCall::Property RemoteHost{"remoteHost"};
constexpr HostCall::Property RemotePort{"remotePort"};
} // namespace Connection

// The answer to a command.
namespace Response {
constexpr char TypeName[] = "Response*";
constexpr HostCall::Property Data{"data"};
constexpr char Finished[] = "finished()";
} // namespace Response

namespace MapView {
constexpr HostCall::Property ZoomMin{"zoomMin"};
constexpr HostCall::Property ZoomMax{"zoomMax"};
constexpr HostCall::Property ZoomFactor{"zoomF"};
constexpr char MouseRelease[] = "mouseRelease(QPointF)";
} // namespace MapView

namespace PreviewView {
// With -1: ends the preview.
constexpr HostCall::Method PreviewPhase{"previewPhase(int)"};
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
