// The images of each resolution level come as a package of their own
// (levelN.data, made by web/pack_data.mjs, named through the page's
// locateFile). The level a window of the starting size loads is put in
// place before the program starts; any other arrives when the game asks for
// it (Module.solbrimFetchLevel, answered with _SolbrimLevelFetched). A
// package is checked whole before its first file is written, so a damaged
// or cut-off one leaves nothing behind.

// Levels in place (bit n: level n), and the packages fetched, for the page
// to keep them for offline play.
Module.solbrimPresentLevels = 0;
Module.solbrimLevelFiles = [];

function solbrimLevelUrl(level) {
  return locateFile("level" + level + ".data");
}

function solbrimFetchPackage(level) {
  var url = solbrimLevelUrl(level);
  return fetch(url).then(function (response) {
    if (!response.ok) throw new Error(url + ": " + response.status);
    return response.arrayBuffer();
  });
}

// [path, bytes] for every file of a package; throws unless it is whole.
function solbrimUnpack(buffer) {
  var view = new DataView(buffer);
  var indexLength = view.getUint32(0, true);
  var index = JSON.parse(new TextDecoder().decode(new Uint8Array(buffer, 4, indexLength)));
  var offset = 4 + indexLength;
  var files = index.map(function (entry) {
    var path = entry[0], size = entry[1];
    if (typeof path !== "string" || path.split("/").indexOf("..") >= 0 || !(size >= 0) || offset + size > buffer.byteLength)
      throw new Error("damaged level package");
    var bytes = new Uint8Array(buffer, offset, size);
    offset += size;
    return [path, bytes];
  });
  if (offset !== buffer.byteLength) throw new Error("damaged level package");
  return files;
}

function solbrimMount(level, buffer) {
  solbrimUnpack(buffer).forEach(function (file) {
    var path = "/data/" + file[0];
    FS.mkdirTree(path.substring(0, path.lastIndexOf("/")));
    FS.writeFile(path, file[1]);
  });
  Module.solbrimPresentLevels |= 1 << level;
  Module.solbrimLevelFiles.push(solbrimLevelUrl(level));
}

Module.solbrimFetchLevel = function (level) {
  solbrimFetchPackage(level).then(function (buffer) {
    solbrimMount(level, buffer);
    return 1;
  }).catch(function (error) {
    console.warn("Sol Brim: the images of level " + level + " did not arrive", error);
    return 0;
  }).then(function (succeeded) {
    Module._SolbrimLevelFetched(level, succeeded);
  });
};

// The program is ready to call (its compiled code is), the runtime not yet
// started: the starting level is chosen by the game's own rule.
function solbrimLoadStartingLevel() {
  var level = Module._SolbrimResolutionLevel(Module.canvas.width, Module.canvas.height);
  addRunDependency("solbrim level");
  solbrimFetchPackage(level).then(function (buffer) {
    solbrimMount(level, buffer);
    removeRunDependency("solbrim level");
  }).catch(function (error) {
    if (Module.loadFailed) Module.loadFailed(error);
    else throw error;
  });
}

if (!Module.preRun) Module.preRun = [];
Module.preRun.push(solbrimLoadStartingLevel);
