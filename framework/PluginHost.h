#pragma once
// The host object a plug-in is created with. A plug-in calls it only when its last
// reference goes: beforePluginDestroyed just before it deletes itself and
// afterPluginDestroyed just after. Operations are called by position, so their order
// is fixed; the first seven belong to the host and are never called by a plug-in.

namespace Orb {

class Plugin;

class PluginHost {
 public:
  virtual ~PluginHost() = default;

  // Positions 1 to 7: the host's own operations; a plug-in never calls them.
  virtual void hostOperation1() {}
  virtual void hostOperation2() {}
  virtual void hostOperation3() {}
  virtual void hostOperation4() {}
  virtual void hostOperation5() {}
  virtual void hostOperation6() {}
  virtual void hostOperation7() {}

  /// `plugin` is about to delete itself; it is still whole.
  virtual void beforePluginDestroyed(Plugin* plugin) = 0;
  /// `plugin` has been deleted: the pointer is an identity only and must not be used.
  virtual void afterPluginDestroyed(Plugin* plugin) = 0;
};

}  // namespace Orb
