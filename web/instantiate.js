// Linked before the factory's code (--pre-js): the WebAssembly that travels in vyr.js as a data
// URL is decoded in place; the factory would fetch the data URL, which costs the page more.
Module['instantiateWasm'] = function (imports, receive) {
  WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports)
    .then(function (output) { receive(output.instance, output.module); }, readyPromiseReject);
  return {};
};
