// Linked before the factory's code (--pre-js): the WebAssembly that travels in vyr.js as a data
// URL is decoded in place (natively where the browser can); the factory would fetch the data URL,
// which costs the page more.
Module['instantiateWasm'] = function (imports, receive) {
  var bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(wasmBinaryFile.slice(dataURIPrefix.length))
                                    : tryParseAsDataURI(wasmBinaryFile);
  WebAssembly.instantiate(bytes, imports)
    .then(function (output) { receive(output.instance, output.module); }, readyPromiseReject);
  return {};
};
